#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/KeyNumbersDlg.h"

using namespace std::chrono_literals;

namespace {

constexpr int kReadKeys = 1015;
constexpr int kTeachIn = 1016;
constexpr int kKeyEdit = 1017;
constexpr int kWriteKeys = 1019;

QPlainTextEdit* KeyEdit(QWidget* dialog) {
    return dialog->findChild<QPlainTextEdit*>(QString::number(kKeyEdit));
}

using DialogKeyNumbers = CExtendedReaderTest;

}  // namespace

TEST_F(DialogKeyNumbers, WrittenKeysComeBackWithoutTrailingLineEnds) {
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    QString readBack;
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            QPlainTextEdit* edit = KeyEdit(d);
            edit->setFocus();
            QTest::keyClicks(edit, "1234");
            QTest::keyClick(edit, Qt::Key_Return);  // a new line, not the dialog's button
            QTest::keyClicks(edit, "ABCD");
            ClickControl(d, kWriteKeys);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            KeyEdit(d)->clear();
            ClickControl(d, kReadKeys);
            readBack = KeyEdit(d)->toPlainText();
            ClickControl(d, Res::IDOK);
        });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages, QStringList{"Daten erfolgreich geschrieben"});
    const std::vector<std::string> requests = m_reader.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "W\r\n1234\r\nABCD\r\nX");
    EXPECT_EQ(requests[1], "K");
    EXPECT_EQ(m_reader.m_emulator.Keys(), (std::vector<std::string>{"1234", "ABCD"}));
    // Inner line ends stay, trailing ones are gone.
    EXPECT_EQ(readBack, "1234\nABCD");
    // "Schliessen" reads the edit back, in the reader's line form.
    EXPECT_EQ(dialog.m_strKeyList, "1234\r\nABCD");
}

TEST_F(DialogKeyNumbers, FailedWriteIsReportedFailedReadIsNot) {
    m_reader.m_emulator.SetFault(EmulatorFault::Garbage);
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            QTest::keyClicks(KeyEdit(d), "99");
            ClickControl(d, kWriteKeys);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            ClickControl(d, kReadKeys);
            QTest::keyClick(d, Qt::Key_Escape);
        });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Schreiben"});
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
}

TEST_F(DialogKeyNumbers, TeachInTogglesAndSendsTThenX) {
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    bool checkedAfterFirst = false;
    bool checkedAfterSecond = true;
    CModalScript script;
    script.On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
        auto* teachIn = d->findChild<QPushButton*>(QString::number(kTeachIn));
        ClickButton(teachIn);
        checkedAfterFirst = teachIn->isChecked();
        EXPECT_TRUE(m_reader.m_emulator.WaitForRequests(1, 2000ms));
        EXPECT_TRUE(m_reader.m_emulator.TeachIn());
        ClickButton(teachIn);
        checkedAfterSecond = teachIn->isChecked();
        EXPECT_TRUE(m_reader.m_emulator.WaitForRequests(2, 2000ms));
        ClickControl(d, Res::IDOK);
    });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(checkedAfterFirst);
    EXPECT_FALSE(checkedAfterSecond);
    EXPECT_EQ(m_reader.Requests(), (std::vector<std::string>{"T", "X"}));
    EXPECT_FALSE(m_reader.m_emulator.TeachIn());
    EXPECT_TRUE(script.m_unexpected.isEmpty());
}

TEST_F(DialogKeyNumbers, ClosingInTeachInAsksAndNoLeavesItOn) {
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            ClickControl(d, kTeachIn);
            EXPECT_TRUE(m_reader.m_emulator.WaitForRequests(1, 2000ms));
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::No);
    script.Start();
    dialog.exec();
    ProcessEventsFor(100ms);
    EXPECT_EQ(script.m_messages, QStringList{"Teach IN ausschalten?"});
    EXPECT_EQ(m_reader.Requests(), std::vector<std::string>{"T"});
    EXPECT_TRUE(m_reader.m_emulator.TeachIn());
    EXPECT_TRUE(dialog.m_bTeachIn);
}

TEST_F(DialogKeyNumbers, WritingAnEmptyListAsksFirst) {
    ASSERT_TRUE(m_reader.m_reader.WriteKeys("1234"));
    m_reader.m_emulator.ClearRequests();
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    CModalScript script;
    script.On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) { ClickControl(d, kWriteKeys); })
        .Message(QMessageBox::No)
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            ProcessEventsFor(50ms);
            EXPECT_TRUE(m_reader.Requests().empty());
            QTest::keyClick(KeyEdit(d), Qt::Key_Return);  // blank lines are no keys either
            ClickControl(d, kWriteKeys);
        })
        .Message(QMessageBox::Yes)
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) { ClickControl(d, Res::IDOK); });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages,
              QStringList({"Alle Schlüssel im Leser löschen?", "Alle Schlüssel im Leser löschen?",
                           "Daten erfolgreich geschrieben"}));
    // Confirmed, the empty list still erases every key.
    EXPECT_EQ(m_reader.Requests().size(), 1u);
    EXPECT_TRUE(m_reader.m_emulator.Keys().empty());
}

// Nothing goes out that the reader cannot take: a line that is no key is
// named and marked; a Teach IN switch the line did not take (the reader
// confirms none) springs back, is reported and changes no state.
TEST_F(DialogKeyNumbers, NothingCountsAsSentThatTheReaderCouldNotTake) {
    CKeyNumbersDlg dialog(&m_reader.m_reader);
    QSignalSpy changed(&dialog, &CKeyNumbersDlg::TeachInChanged);
    QString marked;
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            KeyEdit(d)->setPlainText("1234\nhello 123456789\nX");
            ClickControl(d, kWriteKeys);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            marked = KeyEdit(d)->textCursor().selectedText();
            EXPECT_TRUE(m_reader.m_emulator.ReceivedBytes().empty());
            m_reader.m_emulator.HangUp();
            ASSERT_TRUE(WaitUntil([&] { return m_reader.m_reader.IsDeviceGone(); }));
            ClickControl(d, kTeachIn);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            EXPECT_FALSE(d->findChild<QPushButton*>(QString::number(kTeachIn))->isChecked());
            ClickControl(d, Res::IDOK);
        });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_messages,
              QStringList({"Zeile 2 ist keine Schlüsselnummer: „hello 123456789“. Jede Zeile "
                           "hält 1 bis 10 Ziffern 0-9 und A-F. Es wurde nichts gesendet.",
                           "Fehler beim Schreiben"}));
    EXPECT_EQ(marked, "hello 123456789");
    EXPECT_FALSE(dialog.m_bTeachIn);
    EXPECT_EQ(changed.count(), 0);
}
