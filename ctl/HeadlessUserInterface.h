#pragma once

#include "protocol/UserInterface.h"

class CTerminalProgress;

// The core's view of a program without windows: there is no cursor to show
// and no event to dispatch while a reply is awaited; the wait only lets a
// running progress bar redraw.
class CHeadlessUserInterface : public IUserInterface {
public:
    void PumpMessages() override;
    void BeginWaitCursor() override {}
    void RestoreWaitCursor() override {}
    void EndWaitCursor() override {}

    // The bar drawn during waits (not owned); null for none.
    void SetProgress(CTerminalProgress* progress) { m_pProgress = progress; }

private:
    CTerminalProgress* m_pProgress = nullptr;
};
