#include "views/NumberFormatDlg.h"

CNumberFormatDlg::CNumberFormatDlg(QWidget* parent) : CRadioDlg(parent) {
    Build(tr("Format setzen"), {{1006, tr("Hexadezimal")}, {1007, tr("Dezimal")}});
}
