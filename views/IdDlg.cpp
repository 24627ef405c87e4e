#include "views/IdDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "views/DialogControls.h"
#include "views/MessageBox.h"

namespace {
constexpr int kIdLength = 2;
constexpr int kIdEdit = 1008;
}  // namespace

CIdDlg::CIdDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("ID Setzen"));
    QPushButton* ok = MakeButton(this, Res::IDOK, tr("Setzen"));
    ok->setDefault(true);
    QPushButton* cancel = MakeButton(this, Res::IDCANCEL, tr("Abbrechen"));
    auto* label = new QLabel(tr("ID Nummer:"), this);
    m_pEdit = MakeDigitEdit(this, kIdEdit);
    m_pEdit->setMaxLength(kIdLength);
    label->setBuddy(m_pEdit);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_pEdit, 0, 1);
    layout->addWidget(ok, 0, 2);
    layout->addWidget(cancel, 1, 2);
    layout->setRowStretch(2, 1);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_pEdit);
    // The operator types the new number at once; Return confirms it.
    m_pEdit->setFocus();

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CIdDlg::showEvent(QShowEvent* event) {
    m_pEdit->setText(m_strId);
    m_pEdit->selectAll();
    QDialog::showEvent(event);
}

void CIdDlg::accept() {
    const QString text = m_pEdit->text();
    if (text.size() > kIdLength) {
        RefuseInput(LoadString(Res::IDP_PARSE_STRING_SIZE).arg(kIdLength), true);
        return;
    }
    if (text.size() < kIdLength) {
        RefuseInput(LoadString(Res::IDS_ID_TWO_DIGITS), false);
        return;
    }
    m_strId = text;
    QDialog::accept();
}

void CIdDlg::RefuseInput(const QString& message, bool exclamation) {
    ShowMessage(message, exclamation ? MsgStyle::OkExclamation : MsgStyle::Ok, this);
    m_pEdit->setFocus();
    m_pEdit->selectAll();
}
