#include "views/TimeFormatDlg.h"

CTimeFormatDlg::CTimeFormatDlg(QWidget* parent) : CRadioDlg(parent) {
    Build(tr("Zeitformat setzen"), {{1018, tr("HH:MM:SS:Z (mit Zehntelsekunden)")},
                                    {1019, tr("HH:MM:SS (ohne Zehntelsekunden)")}});
}
