#include "views/RadioDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/ResourceIds.h"
#include "views/DialogControls.h"

CRadioDlg::CRadioDlg(QWidget* parent) : QDialog(parent) {}

void CRadioDlg::Build(const QString& title, const std::vector<Option>& options) {
    setWindowTitle(title);
    m_pGroup = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    QWidget* previous = nullptr;
    for (size_t i = 0; i < options.size(); ++i) {
        auto* radio = new QRadioButton(options[i].text, this);
        radio->setObjectName(ControlName(options[i].id));
        m_pGroup->addButton(radio, static_cast<int>(i));
        layout->addWidget(radio);
        if (previous != nullptr) {
            setTabOrder(previous, radio);
        }
        previous = radio;
    }
    layout->addSpacing(8);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* cancel = MakeButton(this, Res::IDCANCEL, tr("Abbrechen"));
    QPushButton* ok = MakeButton(this, Res::IDOK, tr("Setzen"));
    ok->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    setTabOrder(previous, cancel);
    setTabOrder(cancel, ok);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CRadioDlg::showEvent(QShowEvent* event) {
    if (QAbstractButton* button = m_pGroup->button(m_nIndex)) {
        button->setChecked(true);
        button->setFocus();
    }
    QDialog::showEvent(event);
}

void CRadioDlg::accept() {
    // An index beyond the group checks no button at opening; it then stays.
    if (m_pGroup->checkedId() >= 0) {
        m_nIndex = m_pGroup->checkedId();
    }
    m_strResult = QString::number(m_nIndex);
    QDialog::accept();
}
