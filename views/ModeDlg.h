#pragma once

#include "views/RadioDlg.h"

// Operating mode of the reader. The basic model (template 135) knows
// "Standard" and "Transparent"; the extended model (template 137) four
// combinations of lock monitoring and Mastercard or RS232 mode.
class CModeDlg : public CRadioDlg {
    Q_OBJECT
public:
    explicit CModeDlg(unsigned templateId, QWidget* parent = nullptr);
};
