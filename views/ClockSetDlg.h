#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QTimer>

class QDateEdit;
class QTimeEdit;

// Picks the date and time to set in the reader. Both pickers follow the PC's
// clock every 500 ms until the operator changes either of them; from then on
// they hold still. "Setzen" gives twelve digits: day, month, two-digit year,
// hour, minute, second, in local time.
class CClockSetDlg : public QDialog {
    Q_OBJECT
public:
    explicit CClockSetDlg(QWidget* parent = nullptr);

    QDateTime m_date;         // the date part is shown in the date picker
    QDateTime m_time;         // the time part is shown in the time picker
    QString m_strResult;      // "ddMMyyHHmmss", set by "Setzen"
    bool m_bChanged = false;  // set by the operator's first change, never cleared

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnTimer();
    void ShowValues();

    QDateEdit* m_pDate = nullptr;
    QTimeEdit* m_pTime = nullptr;
    QTimer m_timer;
};
