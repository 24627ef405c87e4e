#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "common/SettingsStore.h"
#include "link/Ftd2xxBinding.h"

using namespace std::chrono_literals;

CTempSettings::CTempSettings(Devices devices) : m_bDevices(devices == Devices::FromStore) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    if (m_bDevices) {
        SetDeviceEntries(&m_entries);
    }
}

CTempSettings::~CTempSettings() {
    if (m_bDevices) {
        SetDeviceEntries(nullptr);
    }
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

size_t CountRequests(const CReaderEmulator& emulator, const std::string& request) {
    size_t count = 0;
    for (const std::string& r : emulator.Requests()) {
        count += r == request ? 1 : 0;
    }
    return count;
}

CStandInAdapters::CStandInAdapters() {
    CFtd2xxBinding::SetLibraryFolder(ORVANE_FTD2XX_COMPLETE_DIR);
    const std::string path = std::string(ORVANE_FTD2XX_COMPLETE_DIR) + "/libftd2xx.so";
    m_module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_module != nullptr) {
        m_add =
            reinterpret_cast<PFN_FakeFtd2xx_AddAdapter>(::dlsym(m_module, "FakeFtd2xx_AddAdapter"));
        m_reset = reinterpret_cast<PFN_FakeFtd2xx_Reset>(::dlsym(m_module, "FakeFtd2xx_Reset"));
        m_setLineState = reinterpret_cast<PFN_FakeFtd2xx_SetLineState>(
            ::dlsym(m_module, "FakeFtd2xx_SetLineState"));
    }
    if (m_reset != nullptr) {
        m_reset();
    }
}

CStandInAdapters::~CStandInAdapters() {
    if (m_reset != nullptr) {
        m_reset();
    }
    if (m_module != nullptr) {
        ::dlclose(m_module);
    }
    CFtd2xxBinding::SetLibraryFolder({});
}

void CStandInAdapters::Add(const char* serial, const std::string& portPath) {
    m_add(serial, "Orvane USB", portPath.c_str(), 0);
}

void CStandInAdapters::InjectLineErrors(uint32_t errors) {
    m_setLineState(errors, 0);
}

CModalScript::CModalScript() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    Start();
}

CModalScript::~CModalScript() {
    m_timer.stop();
}

CModalScript& CModalScript::Then(Match match, Action action) {
    m_steps.push_back(Step{std::move(match), std::move(action)});
    return *this;
}

CModalScript& CModalScript::Message(int standardButton) {
    return Message(standardButton, [] {});
}

CModalScript& CModalScript::Message(int standardButton, std::function<void()> probe) {
    return On<QMessageBox>([this, standardButton, probe](QMessageBox* box) {
        probe();
        m_messages << box->text();
        QAbstractButton* button =
            box->button(static_cast<QMessageBox::StandardButton>(standardButton));
        if (button != nullptr) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            m_unexpected
                << QStringLiteral("no button %1 in: %2").arg(standardButton).arg(box->text());
            box->reject();
        }
    });
}

void CModalScript::Start() {
    m_stepStart = std::chrono::steady_clock::now();
    m_since = m_stepStart;
    m_timer.start();
}

void CModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && !modal->isVisible()) {
        modal = nullptr;
    }
    if (modal != m_pending) {
        m_pending = modal;
        m_bActing = false;
        m_since = std::chrono::steady_clock::now();
    }
    if (modal != nullptr && !m_bActing) {
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
            m_stepStart = std::chrono::steady_clock::now();
            m_bActing = true;
            QPointer<QWidget> target(modal);
            QTimer::singleShot(0, &m_timer, [this, action, target] {
                if (target != nullptr) {
                    action(target);
                }
                m_bActing = false;
                m_since = std::chrono::steady_clock::now();
            });
            return;
        }
        const bool lastStepTaken = m_next == m_steps.size();
        if ((lastStepTaken && qobject_cast<QMessageBox*>(modal) != nullptr) ||
            std::chrono::steady_clock::now() - m_since > 10s) {
            CloseStray(modal);
            return;
        }
    }
    CheckStepTime();
}

void CModalScript::CloseStray(QWidget* modal) {
    QString text = QString::fromLatin1(modal->metaObject()->className());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        text += QStringLiteral(": ") + box->text();
    }
    m_unexpected << text;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
    m_pending = nullptr;
}

void CModalScript::CheckStepTime() {
    if (m_next == m_steps.size() ||
        std::chrono::steady_clock::now() - m_stepStart <= m_stepTimeout) {
        return;
    }
    m_unexpected << QStringLiteral("step %1 not reached").arg(m_next);
    m_next = m_steps.size();
    m_bAbandoned = true;
    for (int i = 0; i < 10 && QApplication::activeModalWidget() != nullptr; ++i) {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        }
        if (QApplication::activeModalWidget() == w) {
            w->hide();
        }
    }
    m_pending = nullptr;
}

void ClickButton(QAbstractButton* button) {
    // A radio button reacts only on its indicator and text, which sit at its left.
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(6, button->height() / 2) : QPoint());
}

void ClickControl(QWidget* dialog, int id) {
    auto* button = dialog->findChild<QAbstractButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << "no button " << id;
    ClickButton(button);
}

void ProcessEventsFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(5);
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

CPtySquatter::CPtySquatter(const std::string& path) {
    const auto number = [](const std::string& name) {
        const size_t slash = name.rfind('/');
        return std::atoi(name.c_str() + (slash == std::string::npos ? 0 : slash + 1));
    };
    const int wanted = number(path);
    for (int attempt = 0; attempt <= wanted + 1; ++attempt) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[64] = {};
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
            ::ptsname_r(master, name, sizeof name) != 0) {
            if (master >= 0) {
                ::close(master);
            }
            return;
        }
        m_masters.push_back(master);
        if (path == name) {
            m_held = master;
            return;
        }
        if (number(name) > wanted) {
            m_bTakenByOther = true;
            return;
        }
    }
}

CPtySquatter::~CPtySquatter() {
    for (int master : m_masters) {
        ::close(master);
    }
}

std::string CPtySquatter::Received() const {
    std::string bytes;
    char buffer[256];
    ssize_t n = 0;
    while (m_held >= 0 && (n = ::read(m_held, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}
