#pragma once

#include "views/InterfaceChoice.h"

// The view's interface choice through the interface selection dialog.
class CInterfaceDlgChoice : public IInterfaceChoice {
public:
    bool ChooseInterface(QWidget* parent, const QString& reason) override;
};
