#include "ShellTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QThread>

#include "shell/SettingsStore.h"

using namespace std::chrono_literals;

CTempSettings::CTempSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
}

CTempSettings::~CTempSettings() {
    // Later tests must not write into a folder that is gone.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.path() + QStringLiteral("-gone"));
}

QString CTempSettings::FileText() const {
    QFile file(m_dir.filePath(QStringLiteral("Meridel Applikationen/Orvane.conf")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

CEmulatorPort::CEmulatorPort(ReaderModel model, unsigned records)
    : m_emulator([&] {
          EmulatorOptions options;
          options.model = model;
          options.seedRecords = records;
          options.progressInterval = std::chrono::microseconds(200);
          options.resetDelay = 20ms;
          return options;
      }()) {}

bool CEmulatorPort::Start() {
    if (!m_emulator.Start()) {
        return false;
    }
    CSettingsStore::WriteProfileString("Devices", "COM40",
                                       QString::fromStdString(m_emulator.PortPath()));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 100);
    return true;
}

CModalDriver::CModalDriver() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(20);
}

CModalDriver::~CModalDriver() {
    m_timer.stop();
}

void CModalDriver::Expect(Match match, Action action) {
    m_steps.push_back({std::move(match), std::move(action)});
}

void CModalDriver::ExpectMessage(int standardButton) {
    Expect(&IsMessageBox, [this, standardButton](QWidget* widget) {
        m_messages.push_back(qobject_cast<QMessageBox*>(widget)->text());
        PressMessageButton(widget, standardButton);
    });
}

void CModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        m_pending = nullptr;
        return;
    }
    if (modal == m_pending && m_bActing) {
        return;
    }
    if (modal != m_pending) {
        m_pending = modal;
        m_bActing = false;
        m_since = std::chrono::steady_clock::now();
    }
    if (m_next < m_steps.size() && m_steps[m_next].match(modal)) {
        bool mainVisible = false;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMainWindow*>(top) != nullptr && top->isVisible()) {
                mainVisible = true;
            }
        }
        m_mainWindowVisible.push_back(mainVisible);
        Action action = m_steps[m_next].action;
        ++m_next;
        m_bActing = true;
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, [this, action, target] {
            if (target) {
                action(target);
            }
            m_bActing = false;
            m_since = std::chrono::steady_clock::now();
        });
        return;
    }
    if (std::chrono::steady_clock::now() - m_since > 10s) {
        QString text = QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            text += QStringLiteral(": ") + box->text();
        }
        m_unexpected.push_back(text);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        m_pending = nullptr;
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

bool IsMessageBox(QWidget* widget) {
    return qobject_cast<QMessageBox*>(widget) != nullptr;
}

void PressMessageButton(QWidget* widget, int standardButton) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QAbstractButton* button =
        box != nullptr ? box->button(static_cast<QMessageBox::StandardButton>(standardButton))
                       : nullptr;
    if (button != nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}
