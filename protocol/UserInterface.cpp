#include "protocol/UserInterface.h"

#include <atomic>

namespace {
class CNoUserInterface : public IUserInterface {
public:
    void PumpMessages() override {}
    void BeginWaitCursor() override {}
    void RestoreWaitCursor() override {}
    void EndWaitCursor() override {}
};

CNoUserInterface g_noUserInterface;
std::atomic<IUserInterface*> g_userInterface{nullptr};
}  // namespace

void SetUserInterface(IUserInterface* ui) {
    g_userInterface.store(ui);
}

IUserInterface& UserInterface() {
    IUserInterface* ui = g_userInterface.load();
    return ui != nullptr ? *ui : g_noUserInterface;
}

void PumpMessages() {
    UserInterface().PumpMessages();
}
