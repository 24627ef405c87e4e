#include "ctl/HeadlessUserInterface.h"

#include "ctl/TerminalProgress.h"

void CHeadlessUserInterface::PumpMessages() {
    if (m_pProgress != nullptr) {
        m_pProgress->Draw();
    }
}
