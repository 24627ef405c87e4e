#pragma once

#include "views/RadioDlg.h"

// Number format of the reader's records: "0" hexadecimal, "1" decimal.
class CNumberFormatDlg : public CRadioDlg {
    Q_OBJECT
public:
    explicit CNumberFormatDlg(QWidget* parent = nullptr);
};
