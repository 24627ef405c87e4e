#include "views/InterfaceChoice.h"

namespace {
IInterfaceChoice* g_interfaceChoice = nullptr;  // user-interface thread only
}  // namespace

void SetInterfaceChoice(IInterfaceChoice* choice) {
    g_interfaceChoice = choice;
}

bool ChooseInterface(QWidget* parent, const QString& reason) {
    return g_interfaceChoice != nullptr && g_interfaceChoice->ChooseInterface(parent, reason);
}
