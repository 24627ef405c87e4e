#pragma once

#include <QPointer>
#include <QWidget>

// Keeps the operator from starting anything else while a reader command
// runs: the busy cursor (through the protocol's user-interface hooks, so it
// nests with the cursor of the transactions) and the given window disabled.
// The window may be null; then only the cursor changes. Disabling a window
// takes its keyboard focus away; the end gives it back.
class CBusyGuard {
public:
    explicit CBusyGuard(QWidget* window);
    ~CBusyGuard();
    CBusyGuard(const CBusyGuard&) = delete;
    CBusyGuard& operator=(const CBusyGuard&) = delete;

    // Enables the window again, returns the focus to the widget that had it
    // and ends the busy cursor; later calls do nothing.
    void End();

    // True while any guard is active, that is while a reader command or a
    // link opening waits for the reader on the user-interface thread.
    static bool IsBusy();

    // The normal cursor for a message box or dialog shown while busy, for the
    // lifetime of this object; the busy cursor returns afterwards.
    class CNormalCursor {
    public:
        CNormalCursor();
        ~CNormalCursor();
        CNormalCursor(const CNormalCursor&) = delete;
        CNormalCursor& operator=(const CNormalCursor&) = delete;

    private:
        bool m_bPushed;
    };

private:
    QPointer<QWidget> m_pWindow;  // null, or the window this guard disabled
    QPointer<QWidget> m_pFocus;   // the window's focus widget when the guard began
    bool m_bActive = true;
};
