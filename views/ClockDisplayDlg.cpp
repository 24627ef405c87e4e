#include "views/ClockDisplayDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ResourceIds.h"
#include "protocol/ReaderProtocol.h"
#include "views/Cp1252.h"
#include "views/DialogControls.h"

namespace {
constexpr int kClockEdit = 1000;
constexpr int kPollPeriodMs = 500;
}  // namespace

CClockDisplayDlg::CClockDisplayDlg(CReaderProtocol* reader, QWidget* parent)
    : QDialog(parent), m_pReader(reader) {
    setWindowTitle(tr("Datum lesen"));
    QPushButton* close = MakeButton(this, Res::IDCANCEL, tr("Schliessen"));
    close->setDefault(true);
    auto* label = new QLabel(tr("Datum / Zeit im Gerät:"), this);
    m_pEdit = new QLineEdit(this);
    m_pEdit->setObjectName(ControlName(kClockEdit));
    m_pEdit->setReadOnly(true);
    label->setBuddy(m_pEdit);
    m_pEdit->setMinimumWidth(m_pEdit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_pEdit, 1, 0);
    layout->addWidget(close, 1, 1);
    setTabOrder(close, m_pEdit);

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_timer.setInterval(kPollPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &CClockDisplayDlg::OnTimer);
}

void CClockDisplayDlg::showEvent(QShowEvent* event) {
    m_pEdit->setText(CCp1252::Decode(QByteArray::fromStdString(m_strClock)));
    m_timer.start();
    QDialog::showEvent(event);
}

void CClockDisplayDlg::OnTimer() {
    // The read dispatches events while it waits: with the timer stopped no
    // tick can start a second read meanwhile.
    m_timer.stop();
    if (m_pReader->ReadClock(m_strClock)) {
        m_pEdit->setText(CCp1252::Decode(QByteArray::fromStdString(m_strClock)));
    }
    // The operator may have closed the dialog during the read.
    if (!m_bClosed) {
        m_timer.start();
    }
}

void CClockDisplayDlg::done(int result) {
    m_bClosed = true;
    m_timer.stop();
    QDialog::done(result);
}
