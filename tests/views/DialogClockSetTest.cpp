#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDateTime>
#include <QTest>
#include <QTimeEdit>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ClockSetDlg.h"

using namespace std::chrono_literals;

namespace {
QDateTime FromDigits(const QString& digits) {
    // "ddMMyyHHmmss" of this century.
    QDateTime value = QDateTime::fromString(digits, QStringLiteral("ddMMyyHHmmss"));
    return value.addYears(100 * ((QDate::currentDate().year() / 100) - value.date().year() / 100));
}
}  // namespace

TEST(DialogClockSet, ConfirmedAtOnceGivesTheCurrentLocalTime) {
    CClockSetDlg dialog;
    CModalScript script;
    script.On<CClockSetDlg>([](CClockSetDlg* d) { ClickControl(d, Res::IDOK); });
    script.Start();
    const QDateTime before = QDateTime::currentDateTime();
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_EQ(dialog.m_strResult.size(), 12);
    const QDateTime result = FromDigits(dialog.m_strResult);
    ASSERT_TRUE(result.isValid()) << dialog.m_strResult.toStdString();
    // Whole seconds, at most one 500 ms tick behind.
    EXPECT_GE(result.secsTo(before), -1);
    EXPECT_LE(result.secsTo(after), 2);
    EXPECT_FALSE(dialog.m_bChanged);
}

TEST(DialogClockSet, ResultDigitsAreDayMonthYearHourMinuteSecond) {
    CClockSetDlg dialog;
    CModalScript script;
    script.On<CClockSetDlg>([](CClockSetDlg* d) {
        d->findChild<QDateEdit*>("1000")->setDate(QDate(2026, 12, 7));
        d->findChild<QTimeEdit*>("1001")->setTime(QTime(14, 5, 9));
        ClickControl(d, Res::IDOK);
    });
    script.Start();
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strResult, "071226140509");
}

TEST(DialogClockSetSlow, PickersFollowTheClockUntilTheFirstChange) {
    CClockSetDlg dialog;
    QTime followed;
    QTime afterChange;
    QTime later;
    QDate changedDate;
    CModalScript script;
    script.On<CClockSetDlg>([&](CClockSetDlg* d) {
        auto* date = d->findChild<QDateEdit*>("1000");
        auto* time = d->findChild<QTimeEdit*>("1001");
        const QTime opened = time->time();
        // Following: the shown time moves on with the clock.
        EXPECT_TRUE(WaitUntil([&] { return opened.secsTo(time->time()) >= 1; }, 3s));
        followed = time->time();
        EXPECT_GE(opened.secsTo(followed), 1);
        EXPECT_FALSE(d->m_bChanged);
        // The operator steps the day of the date picker: from now on both hold still.
        date->setFocus();
        date->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(date, date->date().day() > 1 ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_TRUE(d->m_bChanged);
        changedDate = date->date();
        afterChange = time->time();
        ProcessEventsFor(1200ms);
        later = time->time();
        EXPECT_EQ(date->date(), changedDate);
        ClickControl(d, Res::IDOK);
    });
    script.Start();
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(afterChange, later);
    EXPECT_EQ(dialog.m_strResult, changedDate.toString("ddMMyy") + afterChange.toString("HHmmss"));
}

TEST(DialogClockSetSlow, ClosedDialogNoLongerFollowsTheClock) {
    CClockSetDlg dialog;
    CModalScript script;
    script.On<CClockSetDlg>([](CClockSetDlg* d) { ClickControl(d, Res::IDCANCEL); });
    script.Start();
    ASSERT_EQ(dialog.exec(), QDialog::Rejected);
    const QDateTime shown = dialog.m_time;
    ProcessEventsFor(1200ms);
    EXPECT_EQ(dialog.m_time, shown);
}
