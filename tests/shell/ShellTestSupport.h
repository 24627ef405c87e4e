#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "tools/emulator/ReaderEmulator.h"

// A settings store of its own in a temporary folder, for one test.
class CTempSettings {
public:
    CTempSettings();
    ~CTempSettings();
    QString Folder() const { return m_dir.path(); }
    // The text of the settings file, to see what was written.
    QString FileText() const;

private:
    QTemporaryDir m_dir;
};

// An emulated reader on a pseudo-terminal, entered in the store as COM40,
// with "Port" set up for it and a short reply time-out.
class CEmulatorPort {
public:
    explicit CEmulatorPort(ReaderModel model = ReaderModel::Basic, unsigned records = 0);
    bool Start();
    CReaderEmulator m_emulator;
};

// Acts on modal widgets as they come up, from inside their event loops: the
// next step whose match accepts the active modal widget runs its action from
// a fresh event (so the action may open another modal widget). A modal widget
// that no step takes within the time limit is recorded and rejected, so a
// broken test fails instead of hanging.
class CModalDriver {
public:
    using Match = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;
    CModalDriver();
    ~CModalDriver();
    // Steps run in order; each is used once.
    void Expect(Match match, Action action);
    // A message box: keeps its text and presses this standard button.
    void ExpectMessage(int standardButton);
    bool AllDone() const { return m_next == m_steps.size(); }
    std::vector<QString> m_unexpected;  // class names and texts of widgets nobody took
    std::vector<QString> m_messages;    // texts of the message boxes met by ExpectMessage
    // Seen at the moment each step matched: was the main window (if any) visible?
    std::vector<bool> m_mainWindowVisible;

private:
    struct Step {
        Match match;
        Action action;
    };
    void Poll();
    std::vector<Step> m_steps;
    size_t m_next = 0;
    QTimer m_timer;
    QWidget* m_pending = nullptr;
    bool m_bActing = false;
    std::chrono::steady_clock::time_point m_since;
};

// Dispatches events until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
// Presses the message box button with this standard-button value.
void PressMessageButton(QWidget* widget, int standardButton);
bool IsMessageBox(QWidget* widget);
// A widget whose class is T.
template <class T>
bool Is(QWidget* widget) {
    return qobject_cast<T*>(widget) != nullptr;
}
