#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "link/DeviceEntries.h"
#include "protocol/ReaderProtocol.h"
#include "protocol/UserInterface.h"
#include "tools/emulator/ReaderEmulator.h"

// The reply wait of the tests: dispatches Qt events like the program's, and
// counts the busy cursor instead of showing it.
class CTestUserInterface : public IUserInterface {
public:
    void PumpMessages() override;
    void BeginWaitCursor() override { ++m_nWaitCursor; }
    void RestoreWaitCursor() override {}
    void EndWaitCursor() override { --m_nWaitCursor; }

    std::atomic<int> m_nWaitCursor{0};
};

// Installs a CTestUserInterface for the lifetime of the object.
class CTestUserInterfaceScope {
public:
    CTestUserInterfaceScope() { SetUserInterface(&m_ui); }
    ~CTestUserInterfaceScope() { SetUserInterface(nullptr); }
    CTestUserInterface m_ui;
};

// Emulator options for quick tests: no line pacing, fast progress bytes and reset.
EmulatorOptions FastEmulatorOptions(ReaderModel model = ReaderModel::Basic);

// A reader emulator on a pseudo-terminal, reachable as COM40 through an
// in-memory device table, and a reader protocol object opened on it with a
// short reply time-out.
class CEmulatedReader {
public:
    static constexpr uint32_t kTimeoutMs = 100;

    explicit CEmulatedReader(EmulatorOptions options = FastEmulatorOptions());
    ~CEmulatedReader();

    // Starts the emulator, maps it to COM40; with openReader also opens m_reader on it.
    bool Start(bool openReader = true);

    // The requests received so far, as text.
    std::vector<std::string> Requests() const { return m_emulator.Requests(); }

    CReaderEmulator m_emulator;
    CMapDeviceEntries m_entries;
    CReaderProtocol m_reader;
};

// Drives modal dialogs and message boxes from inside their event loops: each
// step waits until a modal widget that it accepts is active and then acts on
// it (the action runs from a fresh event, so it may itself open a modal
// widget). A step not reached within its time closes every modal widget, so
// a broken test fails instead of hanging. Message boxes that appear after the
// last step are recorded and closed.
class CModalScript {
public:
    using Match = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;

    CModalScript();
    ~CModalScript();

    // A step for a modal widget of class T.
    template <class T>
    CModalScript& On(std::function<void(T*)> action) {
        return Then([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                    [action](QWidget* w) { action(qobject_cast<T*>(w)); });
    }
    CModalScript& Then(Match match, Action action);
    // A message box: records its text and presses the button with this role
    // (QMessageBox::StandardButton value).
    CModalScript& Message(int standardButton);
    // The same, running probe first while the message box is up.
    CModalScript& Message(int standardButton, std::function<void()> probe);

    void Start();
    void Stop() { m_timer.stop(); }
    bool Done() const { return m_next == m_steps.size(); }
    // Texts of the message boxes met by Message steps, in order.
    QStringList m_messages;
    // Message boxes that appeared when no step waited for one, and steps that timed out.
    QStringList m_unexpected;

    std::chrono::milliseconds m_stepTimeout{15000};

private:
    struct Step {
        Match match;
        Action action;
    };
    void Poll();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_stepStart;
};

// Clicks a button with the mouse, where it reacts.
void ClickButton(QAbstractButton* button);
// Clicks the child button with this object name (control id).
void ClickControl(QWidget* dialog, int id);
// Dispatches events for the given time.
void ProcessEventsFor(std::chrono::milliseconds duration);
// Dispatches events until the condition holds or the time is up; returns the condition.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
