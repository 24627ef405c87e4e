#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "shell/InfoDlg.h"
#include "shell/InterfaceDlg.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "tests/GuiTestSupport.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

using namespace std::chrono_literals;

class OrvaneAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        g_echoLength = 0;
    }
    void TearDown() override {
        m_app.reset();
        CLanguage::UnloadEnglish();
        CLanguage::InstallQtGerman();
        CLanguage::SetCatalogueFolders({});
    }
    bool Start(const QStringList& arguments = {}) {
        m_app = std::make_unique<COrvaneApp>();
        return m_app->InitInstance(arguments);
    }
    CMainFrame* Frame() const { return m_app->GetMainWnd(); }
    COrvaneView* View() const { return m_app->GetView(); }

    CTempSettings m_store;
    std::unique_ptr<COrvaneApp> m_app;
};

TEST_F(OrvaneAppTest, FirstStartAsksForTheInterfaceBeforeTheMainWindowAndKeepsCom1) {
    CModalScript driver;
    QString caption;
    driver.Then(Is<CInterfaceDlg>, [&caption](QWidget* w) {
        caption = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    ASSERT_TRUE(Start());
    ASSERT_TRUE(driver.Done());
    ASSERT_EQ(driver.m_mainWindowVisible.size(), 1u);
    EXPECT_FALSE(driver.m_mainWindowVisible[0]);
    EXPECT_EQ(caption, "Schnittstelle");
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), "Unbenannt - Orvane");
    EXPECT_FALSE(View()->OnUpdateLinkCommand());
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM1");
    EXPECT_FALSE(Frame()->IsEnglish());
    EXPECT_TRUE(driver.m_unexpected.empty());
}

TEST_F(OrvaneAppTest, StartsConnectedToTheStoredReaderAndNamesItsModel) {
    for (ReaderModel model : {ReaderModel::Basic, ReaderModel::Extended}) {
        CEmulatorPort port(model);
        ASSERT_TRUE(port.Start());
        CModalScript driver;
        ASSERT_TRUE(Start());
        EXPECT_TRUE(driver.m_unexpected.empty());
        EXPECT_TRUE(View()->OnUpdateLinkCommand());
        EXPECT_EQ(Frame()->windowTitle(),
                  model == ReaderModel::Extended ? "Unbenannt - Orvane SX" : "Unbenannt - Orvane");
        EXPECT_EQ(port.m_emulator.Requests(), std::vector<std::string>({"P"}));
        QTest::qWait(100);
        EXPECT_EQ(View()->TranscriptLength(), 0);
        EXPECT_FALSE(m_app->GetDocument()->IsModified());
        ASSERT_TRUE(WaitUntil([&] { return Frame()->PortPane()->text() == "COM40"; }));
        m_app.reset();
    }
}

TEST_F(OrvaneAppTest, APortWhereNoReaderAnswersIsNamedUntilTheReaderSpeaks) {
    CEmulatorPort port;
    ASSERT_TRUE(port.Start());
    port.m_emulator.SetFault(EmulatorFault::NoAnswer);
    ASSERT_TRUE(Start());
    const QString said = "Kein Leser antwortet an COM40 (" +
                         QString::fromStdString(port.m_emulator.PortPath()) + ")";
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), said);
    EXPECT_TRUE(WaitUntil([&] { return Frame()->PortPane()->text() == "\u26A0 COM40"; }));
    // A status prompt passes, and the note comes back.
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(Frame(), &leave);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), said);

    port.m_emulator.Send({{0ms, "0012AB34\r\n"}});
    EXPECT_TRUE(WaitUntil([&] { return Frame()->statusBar()->currentMessage() == "Bereit"; }));
    EXPECT_TRUE(WaitUntil([&] { return Frame()->PortPane()->text() == "COM40"; }));
}

TEST_F(OrvaneAppTest, ExitSkipsTheSavePromptOnlyForAnEmptyTranscript) {
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    // Empty but marked modified: the close box asks, the exit command does not.
    m_app->GetDocument()->SetModifiedFlag(true);
    driver.Message(QMessageBox::Cancel);
    EXPECT_FALSE(Frame()->close());
    ASSERT_EQ(driver.m_messages.size(), 1);
    EXPECT_EQ(driver.m_messages[0], "Änderungen in Unbenannt speichern?");
    EXPECT_TRUE(Frame()->isVisible());

    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(driver.m_messages.size(), 1);
    EXPECT_TRUE(driver.m_unexpected.empty());
}

TEST_F(OrvaneAppTest, ExitAsksForAModifiedTranscriptAndCancelKeepsTheProgram) {
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    View()->setPlainText("Record 0001");
    driver.Message(QMessageBox::Cancel);
    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_TRUE(Frame()->isVisible());
    driver.Message(QMessageBox::No);
    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(driver.m_messages.size(), 2u);
}

TEST_F(OrvaneAppTest, StoredEnglishIsActiveBeforeTheMainWindowAndStoredAgainAtClose) {
    CSettingsStore::WriteProfileInt("Settings", "Sprache", 1);
    CModalScript driver;
    QString caption;
    driver.Then(Is<CInterfaceDlg>, [&caption](QWidget* w) {
        caption = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    ASSERT_TRUE(Start());
    EXPECT_EQ(caption, "Interface");
    ASSERT_TRUE(Frame()->IsEnglish());
    EXPECT_EQ(Frame()->menuBar()->actions().front()->text(), "&File");
    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), 1);
    EXPECT_FALSE(Frame()->IsEnglish());
}

TEST_F(OrvaneAppTest, AnyOtherStoredLanguageStartsGermanAndIsStoredAsZero) {
    CSettingsStore::WriteProfileInt("Settings", "Sprache", 2);
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Frame()->IsEnglish());
    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), 0);
}

TEST_F(OrvaneAppTest, MissingCatalogueAtStartIsReportedBeforeTheMainWindow) {
    QTemporaryDir empty;
    CLanguage::SetCatalogueFolders({empty.path()});
    CSettingsStore::WriteProfileInt("Settings", "Sprache", 1);
    CModalScript driver;
    driver.Message(QMessageBox::Ok);
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    ASSERT_EQ(driver.m_messages.size(), 1);
    EXPECT_TRUE(driver.m_messages[0].startsWith("Die Sprachinformationen"));
    EXPECT_FALSE(driver.m_mainWindowVisible[0]);
    EXPECT_FALSE(Frame()->IsEnglish());
    Frame()->RunCommand(Res::ID_APP_EXIT);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), 0);
}

TEST_F(OrvaneAppTest, AFileOnTheCommandLineIsOpenedAndRecentFilesFollowSaveAndOpen) {
    QTemporaryDir dir;
    const QString first = dir.filePath("first.txt");
    const QString second = dir.filePath("second.txt");
    {
        QFile file(first);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Record 0001\r\nEND\r\n");
    }
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start({first}));
    EXPECT_EQ(View()->TranscriptBytes(), QByteArray("Record 0001\r\nEND\r\n"));
    EXPECT_EQ(Frame()->windowTitle(), "first.txt - Orvane");
    EXPECT_FALSE(m_app->GetDocument()->IsModified());

    ASSERT_TRUE(m_app->GetDocument()->DoSave(second));
    EXPECT_EQ(m_app->RecentFiles(), QStringList({second, first}));
    ASSERT_TRUE(m_app->OpenDocumentFile(first));
    EXPECT_EQ(m_app->RecentFiles(), QStringList({first, second}));
    Frame()->RunCommand(Res::ID_APP_EXIT);
    m_app->ExitInstance();
    EXPECT_EQ(CSettingsStore::GetProfileString("Recent File List", "File1"), first);
    EXPECT_EQ(CSettingsStore::GetProfileString("Recent File List", "File2"), second);

    // The next start reads them back.
    m_app.reset();
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->RecentFiles(), QStringList({first, second}));
}

TEST_F(OrvaneAppTest, AFileThatCannotBeOpenedIsNamedWithTheReason) {
    QTemporaryDir dir;
    QFile large(dir.filePath("large.txt"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(COrvaneView::kMaxLength + 1));
    const QString missing = dir.filePath("missing.txt");
    const QString failed = "Fehler beim Öffnen des Dokuments.\n\n";
    // On the command line the start ends; with Ctrl+O the program goes on.
    CModalScript driver;
    driver.Message(QMessageBox::Ok);
    EXPECT_FALSE(Start({missing}));
    EXPECT_FALSE(Frame()->isVisible());
    m_app.reset();
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    for (const QString& path : {dir.path(), large.fileName()}) {
        driver.Message(QMessageBox::Ok);
        EXPECT_FALSE(m_app->OpenDocumentFile(path));
    }
    EXPECT_EQ(driver.m_messages,
              QStringList({failed + missing + "\nDie Datei ist nicht vorhanden.",
                           failed + dir.path() + "\nDas ist ein Ordner, keine Datei.",
                           failed + large.fileName() +
                               "\nDie Datei ist größer als die 1.048.575 Zeichen, die das "
                               "Protokoll fasst."}));
    EXPECT_TRUE(Frame()->isVisible());
}

// Whatever a read-out put into the transcript, complete or not, is not thrown
// away unasked; a read-out that brought nothing leaves nothing to ask about.
TEST_F(OrvaneAppTest, ReceivedTextIsNotDroppedUnaskedByNewOpenAReadOutOrClose) {
    QTemporaryDir dir;
    QFile other(dir.filePath("other.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("other\r\n") == 7);
    other.close();
    enum class Outcome { Complete, HungUp, Failed, Nothing };
    for (const Outcome outcome :
         {Outcome::Complete, Outcome::HungUp, Outcome::Failed, Outcome::Nothing}) {
        SCOPED_TRACE(static_cast<int>(outcome));
        EmulatorOptions options;
        options.seedRecords = outcome == Outcome::HungUp ? 400 : 5;
        options.baudRate = outcome == Outcome::HungUp ? 19200 : 0;  // paced: cut part way
        CEmulatorPort port(options);
        ASSERT_TRUE(port.Start());
        CModalScript driver;
        ASSERT_TRUE(Start());
        port.m_emulator.SetFault(outcome == Outcome::Failed    ? EmulatorFault::MissingEnd
                                 : outcome == Outcome::Nothing ? EmulatorFault::NoAnswer
                                                               : EmulatorFault::None);
        if (outcome == Outcome::HungUp) {
            QTimer::singleShot(400, [&] { port.m_emulator.HangUp(); });
        }
        if (outcome != Outcome::Complete) {
            driver.Message(QMessageBox::Ok);  // the read error
        }
        Frame()->RunCommand(Res::ID_READ_RECORDS);
        const QByteArray received = View()->TranscriptBytes();
        const bool text = outcome != Outcome::Nothing;
        ASSERT_EQ(!received.isEmpty(), text);
        EXPECT_EQ(m_app->GetDocument()->IsModified(), text);

        // Each way to drop the text asks first; Cancel keeps it. A lost link
        // reads nothing, so its read-out cannot drop the text either.
        const std::function<void()> actions[] = {
            [&] {
                QApplication::setActiveWindow(Frame());
                View()->setFocus();
                QTest::keyClick(View(), Qt::Key_N, Qt::ControlModifier);
            },
            [&] { m_app->OpenDocumentFile(other.fileName()); },
            [&] { Frame()->RunCommand(Res::ID_READ_RECORDS); },
            [&] { Frame()->close(); },
        };
        for (int action = 0; action < 4; ++action) {
            SCOPED_TRACE(action);
            const bool asks = text && !(action == 2 && outcome == Outcome::HungUp);
            driver.m_messages.clear();
            if (asks) {
                driver.Message(QMessageBox::Cancel);
            } else if (!text && action == 2) {
                driver.Message(QMessageBox::Ok);  // the read error again
            }
            actions[action]();
            EXPECT_EQ(driver.m_messages.contains("Änderungen in Unbenannt speichern?"), asks);
            if (text) {
                EXPECT_EQ(View()->TranscriptBytes(), received);
            }
        }
        EXPECT_EQ(Frame()->isVisible(), text);
        EXPECT_TRUE(driver.m_unexpected.isEmpty()) << driver.m_unexpected.join(';').toStdString();
        m_app.reset();
    }
}

TEST_F(OrvaneAppTest, ANewDocumentLeavesAnOpenLinkUsable) {
    CEmulatorPort port(ReaderModel::Basic);
    ASSERT_TRUE(port.Start());
    CModalScript driver;
    ASSERT_TRUE(Start());
    View()->setPlainText("old");
    driver.Message(QMessageBox::No);
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(driver.m_messages.size(), 1);
    EXPECT_EQ(View()->TranscriptLength(), 0);
    EXPECT_TRUE(View()->OnUpdateLinkCommand());
    EXPECT_EQ(CountRequests(port.m_emulator, "P"), 1u);
    port.m_emulator.Send({{0ms, "still here\r\n"}});
    EXPECT_TRUE(WaitUntil([&] { return View()->TranscriptBytes() == "still here\r\n"; }));
}

TEST_F(OrvaneAppTest, TheInformationButtonShowsTheInformationDialog) {
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    ASSERT_TRUE(Start());
    bool shown = false;
    driver.Then(Is<CInfoDlg>, [&shown](QWidget* w) {
        shown = true;
        static_cast<QDialog*>(w)->accept();
    });
    Frame()->RunCommand(Res::ID_APP_ABOUT);
    EXPECT_TRUE(shown);
}

}  // namespace
