#include "shell/InterfaceDlgChoice.h"

#include "shell/InterfaceDlg.h"

bool CInterfaceDlgChoice::ChooseInterface(QWidget* parent, const QString& reason) {
    CInterfaceDlg dialog(parent);
    dialog.SetReason(reason);
    return dialog.exec() == QDialog::Accepted;
}
