#pragma once

#include "views/RadioDlg.h"

// Time format of the reader's records: "0" with tenths of a second, "1" without.
class CTimeFormatDlg : public CRadioDlg {
    Q_OBJECT
public:
    explicit CTimeFormatDlg(QWidget* parent = nullptr);
};
