#include "views/ModeDlg.h"

#include "common/ResourceIds.h"

CModeDlg::CModeDlg(unsigned templateId, QWidget* parent) : CRadioDlg(parent) {
    if (templateId == Res::IDD_MODE_EXTENDED) {
        Build(tr("Betriebsart setzen"), {{1009, tr("ohne Schlossüberwachung / Mastercard Mode")},
                                         {1010, tr("mit Schlossüberwachung / Mastercard Mode")},
                                         {1006, tr("ohne Schlossüberwachung / RS232 Mode")},
                                         {1007, tr("mit Schlossüberwachung / RS232 Mode")}});
    } else {
        Build(tr("Betriebsart setzen"), {{1009, tr("Standard")}, {1010, tr("Transparent")}});
    }
}
