#pragma once

// What the reader protocol needs from the user-interface thread: dispatching
// pending events inside a reply wait, and the busy cursor with its nesting
// count. The GUI installs its implementation at start-up; tests install their
// own. The default does nothing.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;
    virtual void PumpMessages() = 0;
    virtual void BeginWaitCursor() = 0;    // count one up, show the busy cursor
    virtual void RestoreWaitCursor() = 0;  // show it again after dispatching
    virtual void EndWaitCursor() = 0;      // count one down
};

// Installs ui (not owned); null restores the do-nothing default.
void SetUserInterface(IUserInterface* ui);
IUserInterface& UserInterface();

// Dispatches every event waiting for the calling thread.
void PumpMessages();
