#include "views/ClockSetDlg.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>

#include "common/ResourceIds.h"
#include "views/DialogControls.h"

namespace {
constexpr int kDatePicker = 1000;
constexpr int kTimePicker = 1001;
constexpr int kFollowPeriodMs = 500;
}  // namespace

CClockSetDlg::CClockSetDlg(QWidget* parent)
    : QDialog(parent), m_date(QDateTime::currentDateTime()), m_time(m_date) {
    setWindowTitle(tr("Datum setzen"));
    QPushButton* ok = MakeButton(this, Res::IDOK, tr("Setzen"));
    ok->setDefault(true);
    QPushButton* cancel = MakeButton(this, Res::IDCANCEL, tr("Abbrechen"));

    m_pDate = new QDateEdit(this);
    m_pDate->setObjectName(ControlName(kDatePicker));
    m_pDate->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    m_pDate->setCalendarPopup(true);
    m_pDate->setAccessibleName(tr("Datum"));
    m_pDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_pTime = new QTimeEdit(this);
    m_pTime->setObjectName(ControlName(kTimePicker));
    m_pTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_pTime->setAccessibleName(tr("Uhrzeit"));
    m_pTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pDate, 0, 0);
    layout->addWidget(m_pTime, 1, 0);
    layout->addWidget(ok, 0, 1);
    layout->addWidget(cancel, 1, 1);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_pDate);
    setTabOrder(m_pDate, m_pTime);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Only the operator's edits reach these: the timer updates with signals blocked.
    connect(m_pDate, &QDateTimeEdit::dateTimeChanged, this, [this] { m_bChanged = true; });
    connect(m_pTime, &QDateTimeEdit::dateTimeChanged, this, [this] { m_bChanged = true; });

    m_timer.setInterval(kFollowPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &CClockSetDlg::OnTimer);
}

void CClockSetDlg::showEvent(QShowEvent* event) {
    ShowValues();
    m_timer.start();
    QDialog::showEvent(event);
}

void CClockSetDlg::OnTimer() {
    if (m_bChanged) {
        return;
    }
    m_date = QDateTime::currentDateTime();
    m_time = m_date;
    ShowValues();
}

void CClockSetDlg::ShowValues() {
    const QSignalBlocker blockDate(m_pDate);
    const QSignalBlocker blockTime(m_pTime);
    m_pDate->setDate(m_date.date());
    m_pTime->setTime(m_time.time());
}

void CClockSetDlg::accept() {
    m_date.setDate(m_pDate->date());
    m_time.setTime(m_pTime->time());
    m_strResult = m_date.date().toString(QStringLiteral("ddMMyy")) +
                  m_time.time().toString(QStringLiteral("HHmmss"));
    QDialog::accept();
}

void CClockSetDlg::done(int result) {
    // The dialog object outlives its window; the clock must not be followed afterwards.
    m_timer.stop();
    QDialog::done(result);
}
