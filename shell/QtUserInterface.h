#pragma once

#include "protocol/UserInterface.h"

// The core's view of the user-interface thread: reply waits dispatch the
// pending events, and the busy cursor is the application's override cursor,
// whose stack is the nesting count.
class CQtUserInterface : public IUserInterface {
public:
    void PumpMessages() override;
    void BeginWaitCursor() override;
    void RestoreWaitCursor() override;
    void EndWaitCursor() override;
};
