#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ParametersDlg.h"

using namespace std::chrono_literals;

namespace {

constexpr int kDelayEdit = 1011;
constexpr int kOpeningEdit = 1012;
constexpr int kHoldEdit = 1013;
constexpr int kDelaySet = 1014;
constexpr int kOpeningSet = 1015;
constexpr int kHoldSet = 1016;
constexpr int kReset = 1017;

const QString kWholeNumber = "Geben Sie bitte eine ganze Zahl ein.";
const QString kRange = "Geben Sie bitte eine ganze Zahl zwischen 0 und 999 ein.";
const QString kWritten = "Daten erfolgreich geschrieben";
const QString kWriteError = "Fehler beim Schreiben";
const QString kAskReset =
    "Parameter und Schlüssel wirklich zurücksetzen?\nAlle Schlüssel im Leser werden gelöscht!";

QLineEdit* Edit(QWidget* dialog, int id) {
    return dialog->findChild<QLineEdit*>(QString::number(id));
}

QString FocusName(QWidget* dialog) {
    QWidget* focus = dialog->focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("none");
}

void Type(QWidget* dialog, int id, const QString& text) {
    QLineEdit* edit = Edit(dialog, id);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

using DialogParameters = CExtendedReaderTest;

}  // namespace

TEST_F(DialogParameters, EachButtonSendsOnlyItsOwnValue) {
    CParametersDlg dialog(&m_reader.m_reader);
    QStringList initial;
    CModalScript script;
    script
        .On<CParametersDlg>([&](CParametersDlg* d) {
            initial << Edit(d, kHoldEdit)->text() << Edit(d, kOpeningEdit)->text()
                    << Edit(d, kDelayEdit)->text();
            Type(d, kHoldEdit, "5");
            Type(d, kOpeningEdit, "42");
            Type(d, kDelayEdit, "999");
            ClickControl(d, kHoldSet);
        })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, kOpeningSet); })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, kDelaySet); })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(initial, QStringList({"0", "0", "0"}));
    EXPECT_EQ(m_reader.Requests(), (std::vector<std::string>{"H005", "Z042", "V999"}));
    EXPECT_EQ(script.m_messages, QStringList({kWritten, kWritten, kWritten}));
    EXPECT_EQ(dialog.m_nHoldTime, 5);
    EXPECT_EQ(dialog.m_nOpeningTime, 42);
    EXPECT_EQ(dialog.m_nDelayTime, 999);
}

TEST_F(DialogParameters, OutOfRangeValueBlocksEveryButton) {
    CParametersDlg dialog(&m_reader.m_reader);
    QStringList focused;
    CModalScript script;
    script.On<CParametersDlg>([](CParametersDlg* d) {
        Type(d, kOpeningEdit, "1000");
        ClickControl(d, kHoldSet);
    });
    for (int button : {kOpeningSet, kDelaySet}) {
        script.Message(QMessageBox::Ok).On<CParametersDlg>([&focused, button](CParametersDlg* d) {
            focused << FocusName(d);
            ClickControl(d, button);
        });
    }
    script.Message(QMessageBox::Ok).On<CParametersDlg>([&](CParametersDlg* d) {
        focused << FocusName(d);
        ClickControl(d, Res::IDCANCEL);
    });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages, QStringList({kRange, kRange, kRange}));
    EXPECT_EQ(focused, QStringList({"1012", "1012", "1012"}));
    ProcessEventsFor(50ms);
    EXPECT_TRUE(m_reader.Requests().empty());
}

TEST_F(DialogParameters, EmptyEditAsksForAWholeNumberFirstFailingEditGetsTheFocus) {
    CParametersDlg dialog(&m_reader.m_reader);
    QString focused;
    CModalScript script;
    script
        .On<CParametersDlg>([](CParametersDlg* d) {
            // Both the delay and the hold time are wrong; the hold time is read first.
            Type(d, kDelayEdit, "");
            Type(d, kHoldEdit, "");
            ClickControl(d, kDelaySet);
        })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([&](CParametersDlg* d) {
            focused = FocusName(d);
            Type(d, kHoldEdit, "7");
            ClickControl(d, kDelaySet);
        })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { QTest::keyClick(d, Qt::Key_Escape); });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(focused, "1013");
    EXPECT_EQ(script.m_messages, QStringList({kWholeNumber, kWholeNumber}));
    ProcessEventsFor(50ms);
    EXPECT_TRUE(m_reader.Requests().empty());
}

TEST_F(DialogParameters, ResetIgnoresTheEdits) {
    CParametersDlg dialog(&m_reader.m_reader);
    CModalScript script;
    script
        .On<CParametersDlg>([](CParametersDlg* d) {
            Type(d, kHoldEdit, "");
            Type(d, kDelayEdit, "12345");
            ClickControl(d, kReset);
        })
        .Message(QMessageBox::Yes)
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(m_reader.Requests(), std::vector<std::string>{"D"});
    EXPECT_EQ(script.m_messages, QStringList({kAskReset, kWritten}));
}

TEST_F(DialogParameters, ReturnInAnEditAndAResetAnsweredNoSendNothing) {
    CParametersDlg dialog(&m_reader.m_reader);
    CModalScript script;
    script
        .On<CParametersDlg>([](CParametersDlg* d) {
            Type(d, kDelayEdit, "7");
            QTest::keyClick(Edit(d, kDelayEdit), Qt::Key_Return);
            ClickControl(d, kReset);
        })
        .Message(QMessageBox::No)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages, QStringList{kAskReset});
    ProcessEventsFor(50ms);
    EXPECT_TRUE(m_reader.Requests().empty());
}

TEST_F(DialogParameters, ReaderFailuresAreReportedAndTheDialogStaysOpen) {
    m_reader.m_emulator.SetFault(EmulatorFault::WrongEcho);
    CParametersDlg dialog(&m_reader.m_reader);
    bool enabledDuringRequest = true;
    CModalScript script;
    script
        .On<CParametersDlg>([&](CParametersDlg* d) {
            // Sampled while the request waits for its reply.
            QTimer::singleShot(30, d, [&, d] { enabledDuringRequest = d->isEnabled(); });
            ClickControl(d, kOpeningSet);
        })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, kReset); })
        .Message(QMessageBox::Yes)
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(m_reader.Requests(), (std::vector<std::string>{"Z000", "D"}));
    EXPECT_EQ(script.m_messages, QStringList({kWriteError, kAskReset, kWriteError}));
    // A second button press cannot start another request meanwhile.
    EXPECT_FALSE(enabledDuringRequest);
}
