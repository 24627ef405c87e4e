#pragma once

// Helpers shared by the GUI test programs: a settings store per test, an
// emulated reader reachable as COM40, the stand-in FTDI adapters, a driver
// for modal dialogs and message boxes, and small wait and click helpers.

#include <QAbstractButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/SettingsDeviceEntries.h"
#include "tests/link/ftd2xx/FakeFtd2xxControl.h"
#include "tools/emulator/ReaderEmulator.h"

// A settings store of its own in a temporary folder, for one test. With
// Devices::FromStore it also backs the COM table's "Devices" entries.
class CTempSettings {
public:
    enum class Devices { Apart, FromStore };
    explicit CTempSettings(Devices devices = Devices::Apart);
    ~CTempSettings();
    QString Folder() const { return m_dir.path(); }
    // The text of the settings file, to see what was written.
    QString FileText() const;

private:
    QTemporaryDir m_dir;
    CSettingsDeviceEntries m_entries;
    bool m_bDevices = false;
};

// An emulated reader on a pseudo-terminal, entered in the store as COM40,
// with "Port" set up for it and a reply time-out of 100 ms.
class CEmulatorPort {
public:
    explicit CEmulatorPort(ReaderModel model = ReaderModel::Basic, unsigned records = 0);
    explicit CEmulatorPort(const EmulatorOptions& options) : m_emulator(options) {}
    bool Start();
    CReaderEmulator m_emulator;
};

// How often the emulator received this request.
size_t CountRequests(const CReaderEmulator& emulator, const std::string& request);

// Another device under a pseudo-terminal's name: takes new pseudo-terminals
// until it holds the one at path (Linux hands out the lowest free number,
// so a number freed a moment ago comes back at once) or one past it, which
// means another process took the number first.
class CPtySquatter {
public:
    explicit CPtySquatter(const std::string& path);
    ~CPtySquatter();
    bool Holds() const { return m_held >= 0 || m_bTakenByOther; }
    // What was written to the device at path, if this squatter holds it.
    std::string Received() const;

private:
    std::vector<int> m_masters;
    int m_held = -1;
    bool m_bTakenByOther = false;
};

// The stand-in D2XX library of the tests, for adapters served on
// pseudo-terminals; the program's binding loads it while this object lives.
class CStandInAdapters {
public:
    CStandInAdapters();
    ~CStandInAdapters();
    bool Usable() const { return m_add != nullptr && m_reset != nullptr; }
    void Add(const char* serial, const std::string& portPath);
    // Line error bits (kErr*) the next error query of an open adapter reports once.
    void InjectLineErrors(uint32_t errors);

private:
    void* m_module = nullptr;
    PFN_FakeFtd2xx_AddAdapter m_add = nullptr;
    PFN_FakeFtd2xx_SetLineState m_setLineState = nullptr;
    PFN_FakeFtd2xx_Reset m_reset = nullptr;
};

// A widget whose class is T.
template <class T>
bool Is(QWidget* widget) {
    return qobject_cast<T*>(widget) != nullptr;
}

// Drives modal dialogs and message boxes from inside their event loops, from
// construction on: each step waits until a modal widget that it accepts is
// active and then acts on it (the action runs from a fresh event, so it may
// itself open a modal widget). So that a broken test fails instead of
// hanging, these are recorded in m_unexpected and closed: a modal widget that
// no step takes within 10 s, every modal widget when a step is not reached in
// time (the remaining steps are dropped and Done() stays false), and a
// message box that appears after the last step.
class CModalScript {
public:
    using Match = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;

    CModalScript();
    ~CModalScript();

    // A step for a modal widget of class T.
    template <class T>
    CModalScript& On(std::function<void(T*)> action) {
        return Then(&Is<T>, [action](QWidget* w) { action(qobject_cast<T*>(w)); });
    }
    // Steps run in order; each is used once.
    CModalScript& Then(Match match, Action action);
    // A message box: records its text and presses the button with this role
    // (QMessageBox::StandardButton value).
    CModalScript& Message(int standardButton);
    // The same, running probe first while the message box is up.
    CModalScript& Message(int standardButton, std::function<void()> probe);

    // Polls again after Stop(); the time for the next step starts anew.
    void Start();
    void Stop() { m_timer.stop(); }
    bool Done() const { return m_next == m_steps.size() && !m_bAbandoned; }
    // Texts of the message boxes met by Message steps, in order.
    QStringList m_messages;
    // Modal widgets nobody took (class name and text) and steps that timed out.
    QStringList m_unexpected;
    // Seen at the moment each step matched: was the main window (if any) visible?
    std::vector<bool> m_mainWindowVisible;

    std::chrono::milliseconds m_stepTimeout{15000};

private:
    struct Step {
        Match match;
        Action action;
    };
    void Poll();
    void CheckStepTime();
    void CloseStray(QWidget* modal);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_bAbandoned = false;
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_stepStart;
    // The active modal widget and since when; whether a step acts on it now.
    QWidget* m_pending = nullptr;
    std::chrono::steady_clock::time_point m_since;
    bool m_bActing = false;
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
