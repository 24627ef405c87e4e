#include "DialogTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

void CTestUserInterface::PumpMessages() {
    QCoreApplication::processEvents();
}

EmulatorOptions FastEmulatorOptions(ReaderModel model) {
    EmulatorOptions options;
    options.model = model;
    options.progressInterval = std::chrono::microseconds(100);
    options.resetDelay = std::chrono::milliseconds(20);
    options.faultPause = std::chrono::milliseconds(400);
    return options;
}

CEmulatedReader::CEmulatedReader(EmulatorOptions options) : m_emulator(options) {}

CEmulatedReader::~CEmulatedReader() {
    m_reader.m_pfnByteHook = nullptr;
    m_reader.Close();
    SetDeviceEntries(nullptr);
    m_emulator.Stop();
}

bool CEmulatedReader::Start(bool openReader) {
    if (!m_emulator.Start()) {
        return false;
    }
    m_entries.WriteEntry(40, m_emulator.PortPath());
    SetDeviceEntries(&m_entries);
    if (!openReader) {
        return true;
    }
    if (!m_reader.Open("COM40", 19200, 'N', 8, 1, 0, 9, 15000)) {
        return false;
    }
    m_reader.m_timeoutMs = kTimeoutMs;
    return m_reader.StartMonitoring();
}

CModalScript::CModalScript() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
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
            box->reject();
        }
    });
}

void CModalScript::Start() {
    m_stepStart = std::chrono::steady_clock::now();
    m_timer.start();
}

void CModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (Done()) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_unexpected << QStringLiteral("message: ") + box->text();
            box->reject();
        }
        return;
    }
    if (modal != nullptr && m_steps[m_next].match(modal)) {
        Action action = m_steps[m_next].action;
        ++m_next;
        m_stepStart = std::chrono::steady_clock::now();
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, [action, target] {
            if (target != nullptr) {
                action(target);
            }
        });
        return;
    }
    if (std::chrono::steady_clock::now() - m_stepStart > m_stepTimeout) {
        m_unexpected << QStringLiteral("step %1 not reached").arg(m_next);
        m_next = m_steps.size();
        for (int i = 0; i < 10 && QApplication::activeModalWidget() != nullptr; ++i) {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(w)) {
                dialog->reject();
            }
            if (QApplication::activeModalWidget() == w) {
                w->hide();
            }
        }
    }
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
        QTest::qSleep(5);
    }
    return true;
}
