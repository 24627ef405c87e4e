#include "shell/NetReaderDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/LinkTexts.h"
#include "views/MessageBox.h"

namespace {

// A label for field whose mnemonic moves the focus there; the field is
// named after it for assistive tools.
QLabel* LabelFor(QWidget* field, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

}  // namespace

CNetReaderDlg::CNetReaderDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IDD_NET_READER"));
    setWindowTitle(tr("Netzwerk-Leser hinzufügen"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_edHost = new QLineEdit(this);
    m_edHost->setObjectName(QStringLiteral("IDC_NET_HOST"));
    m_edHost->setPlaceholderText(QStringLiteral("door3.site"));
    m_edPort = new QLineEdit(this);
    m_edPort->setObjectName(QStringLiteral("IDC_NET_PORT"));
    m_edPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), this));
    m_edPort->setPlaceholderText(QStringLiteral("4001"));
    m_cbKind = new QComboBox(this);
    m_cbKind->setObjectName(QStringLiteral("IDC_NET_KIND"));
    m_cbKind->addItem(tr("RFC 2217 (Orvane stellt die Baudrate ein)"),
                      static_cast<int>(CNetAddress::Kind::Rfc2217));
    m_cbKind->addItem(tr("TCP roh (Baudrate am Server eingestellt)"),
                      static_cast<int>(CNetAddress::Kind::Socket));

    m_btnOk = new QPushButton(tr("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("IDOK"));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton(tr("Abbrechen"), this);
    m_btnCancel->setObjectName(QStringLiteral("IDCANCEL"));
    m_btnCancel->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow(LabelFor(m_edHost, tr("&Rechner:"), this), m_edHost);
    fields->addRow(LabelFor(m_edPort, tr("&Port:"), this), m_edPort);
    fields->addRow(LabelFor(m_cbKind, tr("&Art:"), this), m_cbKind);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edHost->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);

    setTabOrder(m_edHost, m_edPort);
    setTabOrder(m_edPort, m_cbKind);
    setTabOrder(m_cbKind, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);
    connect(m_btnOk, &QPushButton::clicked, this, &CNetReaderDlg::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &CNetReaderDlg::reject);
    m_edHost->setFocus();
}

QString CNetReaderDlg::AddressText() const {
    const bool rfc2217 =
        m_cbKind->currentData().toInt() == static_cast<int>(CNetAddress::Kind::Rfc2217);
    QString host = m_edHost->text().trimmed();
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['))) {
        host = QLatin1Char('[') + host + QLatin1Char(']');
    }
    return (rfc2217 ? QStringLiteral("rfc2217://") : QStringLiteral("socket://")) + host +
           QLatin1Char(':') + m_edPort->text().trimmed();
}

void CNetReaderDlg::accept() {
    const QString text = AddressText();
    if (CNetAddress::Parse(text.toStdString(), m_address)) {
        QDialog::accept();
        return;
    }
    CLinkFailure failure;
    failure.kind = LinkFailureKind::BadAddress;
    failure.port = text.toStdString();
    ShowMessage(LinkTexts::Failure(failure), MsgStyle::OkExclamation, this);
    // The port field when its number is the fault, else the host.
    const uint port = m_edPort->text().toUInt();
    QLineEdit* faulty = port >= 1 && port <= 65535 ? m_edHost : m_edPort;
    faulty->setFocus();
    faulty->selectAll();
}
