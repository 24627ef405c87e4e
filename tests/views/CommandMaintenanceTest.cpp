#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "CommandTestSupport.h"
#include "common/ResourceIds.h"
#include "shell/InterfaceDlg.h"
#include "views/ClearBufferDlg.h"
#include "views/KeyNumbersDlg.h"
#include "views/MemoryTestDlg.h"
#include "views/ParametersDlg.h"

using namespace std::chrono_literals;

namespace {

const QString kAskClear = "Datenbuffer wirklich löschen?\nAlle Datensätze gehen verloren!";
const QString kAskTest = "Speichertest durchführen?\nAlle Datensätze werden überschrieben!";

// A question with the question icon whose default answer is No.
void ExpectQuestionWithNoAsDefault() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
}

// Waits for the progress dialog's result and notes where its bar ended.
template <class Dialog>
std::function<void(Dialog*)> WatchBar(int& lastValue) {
    return [&lastValue](Dialog* d) {
        QProgressBar* bar = d->ProgressBar();
        QObject::connect(d, &QDialog::finished, bar,
                         [&lastValue, bar] { lastValue = bar->value(); });
    };
}

}  // namespace

TEST_F(CommandTest, ClearBufferAnsweredNoSendsNothing) {
    for (auto handler : {&COrvaneView::OnClearBuffer, &COrvaneView::OnMemoryTest}) {
        CModalScript script;
        script.Message(QMessageBox::No, &ExpectQuestionWithNoAsDefault);
        Run(handler, script);
        EXPECT_TRUE(HookIsDisplay());
    }
    QTest::qWait(50);
    EXPECT_TRUE(Emulator().ReceivedBytes().empty());
}

// Once the reader's records are erased, an unsaved read-out is their only copy.
TEST_F(CommandTest, ClearBufferOffersToSaveAnUnsavedReadOutFirst) {
    m_view->setPlainText("0001 records");
    CModalScript cancelled;
    cancelled.Message(QMessageBox::Yes).Message(QMessageBox::Cancel);
    Run(&COrvaneView::OnClearBuffer, cancelled);
    EXPECT_EQ(cancelled.m_messages, QStringList({kAskClear, "Änderungen in Unbenannt speichern?"}));
    QTest::qWait(50);
    EXPECT_TRUE(Emulator().ReceivedBytes().empty());

    CModalScript dropped;
    dropped.Message(QMessageBox::Yes).Message(QMessageBox::No);
    Run(&COrvaneView::OnClearBuffer, dropped);
    EXPECT_EQ(Requests(), std::vector<std::string>{"C"});
    EXPECT_TRUE(Transcript().contains("0001 records"));
}

TEST_F(CommandTest, SuccessfulClearShowsNoMessage) {
    int lastValue = -1;
    bool hookOffDuringQuestion = true;
    CModalScript script;
    script.Message(QMessageBox::Yes, [&] {
        hookOffDuringQuestion = m_view->m_reader.m_pfnByteHook.load() == nullptr;
    });
    script.On<CClearBufferDlg>(WatchBar<CClearBufferDlg>(lastValue));
    Run(&COrvaneView::OnClearBuffer, script);
    EXPECT_EQ(script.m_messages, QStringList{kAskClear});
    EXPECT_EQ(Requests(), std::vector<std::string>{"C"});
    EXPECT_EQ(lastValue, 516);
    EXPECT_FALSE(hookOffDuringQuestion);
    EXPECT_TRUE(HookIsDisplay());
    // The progress bytes did not reach the transcript.
    EXPECT_TRUE(Transcript().isEmpty());
}

TEST_F(CommandTest, FailedOrEscapedClearIsReported) {
    Emulator().SetFault(EmulatorFault::MissingEnd);
    CModalScript failed;
    failed.Message(QMessageBox::Yes).Message(QMessageBox::Ok);
    Run(&COrvaneView::OnClearBuffer, failed);
    EXPECT_EQ(failed.m_messages, QStringList({kAskClear, "Fehler beim Löschen des Datenbuffers"}));

    // Escape as soon as the dialog shows, before its start.
    Emulator().ClearRequests();
    CModalScript escaped;
    escaped.Message(QMessageBox::Yes).Message(QMessageBox::Ok);
    struct EscapeOnShow : QObject {
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && qobject_cast<CClearBufferDlg*>(o) != nullptr) {
                auto* dialog = static_cast<QWidget*>(o);
                QTimer::singleShot(0, dialog,
                                   [dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
            }
            return false;
        }
    } escapeOnShow;
    qApp->installEventFilter(&escapeOnShow);
    Run(&COrvaneView::OnClearBuffer, escaped);
    qApp->removeEventFilter(&escapeOnShow);
    EXPECT_EQ(escaped.m_messages, QStringList({kAskClear, "Fehler beim Löschen des Datenbuffers"}));
    QTest::qWait(200);
    EXPECT_TRUE(Emulator().ReceivedBytes().empty());
    EXPECT_TRUE(HookIsDisplay());
}

TEST_F(CommandTest, MemoryTestReportsBothOutcomes) {
    int lastValue = -1;
    CModalScript passed;
    passed.Message(QMessageBox::Yes)
        .On<CMemoryTestDlg>(WatchBar<CMemoryTestDlg>(lastValue))
        .Message(QMessageBox::Ok);
    Run(&COrvaneView::OnMemoryTest, passed);
    EXPECT_EQ(passed.m_messages, QStringList({kAskTest, "Speichertest erfolgreich durchgeführt"}));
    EXPECT_EQ(lastValue, 1028);
    EXPECT_EQ(Requests(), std::vector<std::string>{"\xC8"});

    Emulator().SetFault(EmulatorFault::NoAnswer);
    CModalScript failed;
    failed.Message(QMessageBox::Yes).Message(QMessageBox::Ok);
    Run(&COrvaneView::OnMemoryTest, failed);
    EXPECT_EQ(failed.m_messages, QStringList({kAskTest, "Fehler bei Speichertest"}));
    EXPECT_TRUE(HookIsDisplay());
    EXPECT_TRUE(Transcript().isEmpty());
}

TEST_F(CommandTest, ExtendedDialogsDoNothingForTheBasicModel) {
    CModalScript script;
    Run(&COrvaneView::OnSetParameters, script);
    Run(&COrvaneView::OnKeyNumbers, script);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ExtendedCommandTest, SetParametersRunsTheDialogWithoutTranscript) {
    bool hookOff = false;
    CModalScript script;
    script
        .On<CParametersDlg>([&](CParametersDlg* d) {
            hookOff = m_view->m_reader.m_pfnByteHook.load() == nullptr;
            auto* hold = d->findChild<QLineEdit*>("1013");
            hold->selectAll();
            QTest::keyClicks(hold, "5");
            ClickControl(d, 1016);
        })
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) {
            EXPECT_EQ(d->focusWidget(), d->findChild<QWidget*>("1016"));  // the pressed button
            ClickControl(d, Res::IDCANCEL);
        });
    Run(&COrvaneView::OnSetParameters, script);
    EXPECT_TRUE(hookOff);
    EXPECT_EQ(Requests(), std::vector<std::string>{"H005"});
    EXPECT_EQ(script.m_messages, QStringList{"Daten erfolgreich geschrieben"});
    EXPECT_TRUE(Transcript().isEmpty());
    EXPECT_TRUE(HookIsDisplay());
}

TEST_F(ExtendedCommandTest, SetParametersReportsAFailedReset) {
    Emulator().SetFault(EmulatorFault::Garbage);
    CModalScript script;
    script.On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, 1017); })
        .Message(QMessageBox::Yes)
        .Message(QMessageBox::Ok)
        .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
    Run(&COrvaneView::OnSetParameters, script);
    EXPECT_EQ(Requests(), std::vector<std::string>{"D"});
    EXPECT_EQ(script.m_messages.last(), "Fehler beim Schreiben");
}

TEST_F(ExtendedCommandTest, KeyNumbersKeepTheTranscriptHook) {
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            QTest::keyClicks(d->findChild<QPlainTextEdit*>("1017"), "BEEF");
            ClickControl(d, 1019);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            EXPECT_EQ(d->focusWidget(), d->findChild<QWidget*>("1019"));
            ClickControl(d, 1016);  // Teach IN on
            EXPECT_TRUE(Emulator().WaitForRequests(2, 2s));
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::No);
    Run(&COrvaneView::OnKeyNumbers, script);
    EXPECT_EQ(script.m_messages.first(), "Daten erfolgreich geschrieben");
    EXPECT_EQ(Requests(), (std::vector<std::string>{"W\r\nBEEF\r\nX", "T"}));
    // The reader's confirmation went to the transcript as well.
    EXPECT_TRUE(WaitUntil([&] { return Transcript().contains("OK"); }, 2s));
    EXPECT_TRUE(HookIsDisplay());
}

TEST_F(ExtendedCommandTest, TeachInStaysVisibleUntilSwitchedOffOrTheLinkCloses) {
    bool openedIn = false;
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            ClickControl(d, 1016);
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::No);
    Run(&COrvaneView::OnKeyNumbers, script);
    EXPECT_EQ(m_view->StatusText(), "Teach IN ist eingeschaltet");

    CModalScript again;
    again
        .On<CKeyNumbersDlg>([&](CKeyNumbersDlg* d) {
            openedIn = d->findChild<QPushButton*>("1016")->isChecked();
            QTest::keyClick(d, Qt::Key_Escape);
        })
        .Message(QMessageBox::Yes);
    Run(&COrvaneView::OnKeyNumbers, again);
    EXPECT_TRUE(openedIn);
    EXPECT_EQ(again.m_messages, QStringList{"Teach IN ausschalten?"});
    EXPECT_TRUE(Emulator().WaitForRequests(2, 2s));
    EXPECT_EQ(Requests(), (std::vector<std::string>{"T", "X"}));
    EXPECT_FALSE(Emulator().TeachIn());
    EXPECT_EQ(m_view->TeachInState(), COrvaneView::TeachIn::Off);
    EXPECT_EQ(m_view->StatusText(), "");

    // The reader keeps Teach IN without a link: maybe on, said so, and asked
    // about once the link to it is back.
    m_view->SetTeachIn(true);
    m_view->CloseLink();
    EXPECT_EQ(m_view->TeachInState(), COrvaneView::TeachIn::MaybeOn);
    EXPECT_EQ(m_view->StatusText(), "Teach IN an COM40 ist vielleicht noch eingeschaltet.");
    Emulator().ClearRequests();
    CModalScript back;
    back.On<CInterfaceDlg>([](CInterfaceDlg* d) {
            d->m_lbPorts->setCurrentItem(
                d->m_lbPorts->findItems("COM40", Qt::MatchStartsWith).front());
            QTest::mouseClick(d->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
        })
        .Message(QMessageBox::Yes);
    Run(&COrvaneView::OnSelectInterface, back);
    EXPECT_EQ(back.m_messages, QStringList{"Teach IN ausschalten?"});
    EXPECT_TRUE(Emulator().WaitForRequests(2, 2s));
    EXPECT_EQ(Requests(), (std::vector<std::string>{"P", "X"}));
    EXPECT_EQ(m_view->TeachInState(), COrvaneView::TeachIn::Off);
    EXPECT_EQ(m_view->StatusText(), "");
}

TEST_F(ExtendedCommandTest, FailedKeyWriteIsReported) {
    Emulator().SetFault(EmulatorFault::WrongEcho);
    CModalScript script;
    script
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
            QTest::keyClicks(d->findChild<QPlainTextEdit*>("1017"), "12");
            ClickControl(d, 1019);
        })
        .Message(QMessageBox::Ok)
        .On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) { ClickControl(d, Res::IDOK); });
    Run(&COrvaneView::OnKeyNumbers, script);
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Schreiben"});
}
