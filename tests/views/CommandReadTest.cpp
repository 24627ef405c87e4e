#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

#include "CommandTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ClockDisplayDlg.h"

using namespace std::chrono_literals;

namespace {

class RecordCommand : public CommandTest {
protected:
    RecordCommand() : CommandTest(ReaderModel::Basic, 5) {}
};

}  // namespace

TEST_F(RecordCommand, ReadRecordsFillsAFreshTranscriptAndMarksTheDocument) {
    m_view->setPlainText("earlier text");
    m_doc.SetModifiedFlag(false);
    CModalScript script;
    Run(&COrvaneView::OnReadRecords, script);
    EXPECT_EQ(Requests(), std::vector<std::string>{"L"});
    const QString transcript = Transcript();
    EXPECT_FALSE(transcript.contains("earlier text"));
    EXPECT_TRUE(transcript.endsWith("END\r\n")) << transcript.toStdString();
    EXPECT_GE(transcript.count('\n'), 6);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(HookIsDisplay());
    EXPECT_TRUE(m_view->isEnabled());
    EXPECT_EQ(m_ui.m_ui.m_nWaitCursor, 0);
}

TEST_F(RecordCommand, ReadOutOverUnsavedWorkAsksFirstAndLeavesTheDocumentUntitled) {
    QTemporaryDir dir;
    const QString earlier = dir.filePath("earlier.txt");
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier records\r\n");
    file.close();
    ASSERT_TRUE(m_doc.OnOpenDocument(earlier));
    m_view->appendPlainText("a note");
    ASSERT_TRUE(m_doc.IsModified());

    CModalScript cancelled;
    cancelled.Message(QMessageBox::Cancel);
    Run(&COrvaneView::OnReadRecords, cancelled);
    EXPECT_EQ(cancelled.m_messages, QStringList{"Änderungen in earlier.txt speichern?"});
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(Transcript().contains("a note"));

    CModalScript discarded;
    discarded.Message(QMessageBox::No);
    Run(&COrvaneView::OnReadRecords, discarded);
    EXPECT_EQ(Requests(), std::vector<std::string>{"L"});
    EXPECT_TRUE(Transcript().endsWith("END\r\n"));
    // The records must not go into the file that held the earlier ones.
    EXPECT_EQ(m_doc.GetTitle(), "Unbenannt");
    EXPECT_EQ(m_doc.GetPathName(), "");
    QString proposed;
    CModalScript save;
    save.On<QFileDialog>([&](QFileDialog* d) {
        proposed = d->selectedFiles().value(0);
        d->reject();
    });
    save.Start();
    EXPECT_FALSE(m_doc.DoFileSave());
    EXPECT_EQ(proposed,
              dir.filePath("Orvane_" + QDate::currentDate().toString(Qt::ISODate) + "_COM40.txt"));
    QFile kept(earlier);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier records\r\n");
    // Printing lays out the document in its default font: columns line up on paper too.
    const QFontMetricsF metrics(m_view->document()->defaultFont());
    EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
}

// The partial text is the only copy of what the reader sent: it counts as modified.
TEST_F(RecordCommand, ReadRecordsWithoutEndKeepsThePartialTextAsModified) {
    Emulator().SetFault(EmulatorFault::MissingEnd);
    bool busyDuringMessage = false;
    CModalScript script;
    script.Message(QMessageBox::Ok, [&] { busyDuringMessage = Busy(); });
    Run(&COrvaneView::OnReadRecords, script);
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Lesen der Daten"});
    const QString transcript = Transcript();
    EXPECT_GE(transcript.count('\n'), 5) << transcript.toStdString();
    EXPECT_FALSE(transcript.contains("END"));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(busyDuringMessage);
    EXPECT_TRUE(m_view->isEnabled());
    EXPECT_EQ(m_ui.m_ui.m_nWaitCursor, 0);
    EXPECT_TRUE(HookIsDisplay());
    EXPECT_EQ(m_view->StatusText(), "");
}

TEST_F(RecordCommand, ARestArrivingAfterTheTimeoutIsExplainedInTheStatusBar) {
    Emulator().SetFault(EmulatorFault::PauseMidReply);
    QString status;
    CModalScript script;
    script.Message(QMessageBox::Ok, [&] {
        WaitUntil([&] { return !m_view->StatusText().isEmpty(); }, 3s);
        status = m_view->StatusText();
    });
    Run(&COrvaneView::OnReadRecords, script);
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Lesen der Daten"});
    EXPECT_EQ(status,
              "Der Leser pausierte länger als der Timeout (250 ms): Timeout unter „Schnittstelle "
              "wählen“ erhöhen");
    EXPECT_TRUE(WaitUntil([&] { return Transcript().endsWith("END\r\n"); }));
}

TEST_F(CommandTest, ReadParametersShowsTheReportAndKeepsTheModel) {
    CModalScript script;
    Run(&COrvaneView::OnReadParameters, script);
    EXPECT_EQ(Requests(), std::vector<std::string>{"P"});
    EXPECT_EQ(Transcript(), QString::fromStdString(Emulator().ParameterReport()));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_FALSE(m_view->m_bExtendedModel);
}

TEST_F(ExtendedCommandTest, FailedParameterReadIsReportedAndKeepsTheModel) {
    Emulator().SetFault(EmulatorFault::NoAnswer);
    m_view->setPlainText("earlier text");
    m_doc.SetModifiedFlag(false);
    CModalScript script;
    script.Message(QMessageBox::Ok);
    Run(&COrvaneView::OnReadParameters, script);
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Lesen der Parameter"});
    EXPECT_TRUE(Transcript().isEmpty());
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_TRUE(m_view->m_bExtendedModel);
}

TEST_F(CommandTest, ReadClockOpensThePollingDisplayWithoutTranscript) {
    QString shown;
    bool hookOffDuringDialog = false;
    bool viewDisabledDuringDialog = false;
    bool dialogEnabled = false;
    CModalScript script;
    script.On<CClockDisplayDlg>([&](CClockDisplayDlg* d) {
        shown = d->findChild<QLineEdit*>("1000")->text();
        hookOffDuringDialog = m_view->m_reader.m_pfnByteHook.load() == nullptr;
        viewDisabledDuringDialog = !m_view->isEnabled();
        dialogEnabled = d->isEnabled();
        // Let it read the clock again once.
        EXPECT_TRUE(WaitUntil([&] { return Requests().size() >= 2; }, 3s));
        ClickControl(d, Res::IDCANCEL);
    });
    Run(&COrvaneView::OnReadClock, script);
    EXPECT_GE(shown.size(), 14);
    EXPECT_TRUE(hookOffDuringDialog);
    EXPECT_TRUE(viewDisabledDuringDialog);
    EXPECT_TRUE(dialogEnabled);
    EXPECT_TRUE(Transcript().isEmpty());
    EXPECT_TRUE(HookIsDisplay());
    EXPECT_TRUE(m_view->isEnabled());
    EXPECT_EQ(m_ui.m_ui.m_nWaitCursor, 0);
    for (const std::string& request : Requests()) {
        EXPECT_EQ(request, "R");
    }
}

TEST_F(CommandTest, UnreadableClockIsReported) {
    Emulator().SetFault(EmulatorFault::NoAnswer);
    CModalScript script;
    script.Message(QMessageBox::Ok);
    Run(&COrvaneView::OnReadClock, script);
    EXPECT_EQ(script.m_messages, QStringList{"Datum/Zeit kann nicht gelesen werden"});
    EXPECT_EQ(Requests(), std::vector<std::string>{"R"});
    EXPECT_TRUE(HookIsDisplay());
}
