#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "DialogTestSupport.h"
#include "shell/InterfaceDlg.h"
#include "shell/SettingsStore.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

using namespace std::chrono_literals;

class ViewLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_echoLength = 0;
        m_ui.m_ui.m_nWaitCursor = 0;
    }
    QString Text() {
        m_view.FlushReceivedText();
        return m_view.toPlainText();
    }

    CTempSettings m_settings{CTempSettings::Devices::FromStore};
    CTestUserInterfaceScope m_ui;
    COrvaneDoc m_doc;
    COrvaneView m_view{&m_doc};
};

TEST_F(ViewLinkTest, OpenLinkReadsTheModelKeepsItsReplyOutAndShowsThePort) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    QSignalSpy title(&m_view, &COrvaneView::TitleTextChanged);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_TRUE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, "COM40");
    EXPECT_EQ(m_view.m_reader.m_timeoutMs.load(), 100u);
    EXPECT_FALSE(m_view.m_bExtendedModel);
    ASSERT_EQ(title.count(), 1);
    EXPECT_EQ(title.at(0).at(0).toString(), "Orvane");
    EXPECT_EQ(reader.m_emulator.Requests(), std::vector<std::string>({"P"}));
    QTest::qWait(50);
    EXPECT_EQ(Text(), QString());
    EXPECT_EQ(m_view.m_reader.m_pfnByteHook.load(), &EchoByteToView);

    // From now on what the reader sends on its own reaches the transcript.
    reader.m_emulator.Send({{0ms, "1A2B3C\r\n"}});
    EXPECT_TRUE(WaitUntil([&] { return Text() == "1A2B3C\n"; }));
}

TEST_F(ViewLinkTest, ExtendedModelSetsTheTitleAndKeepsItsFlagAfterClosing) {
    CEmulatorPort reader(ReaderModel::Extended);
    ASSERT_TRUE(reader.Start());
    QSignalSpy title(&m_view, &COrvaneView::TitleTextChanged);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_TRUE(m_view.m_bExtendedModel);
    EXPECT_TRUE(m_view.OnUpdateExtendedCommand());
    ASSERT_EQ(title.count(), 1);
    EXPECT_EQ(title.at(0).at(0).toString(), "Orvane SX");

    m_view.CloseLink();
    EXPECT_FALSE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, QString());
    EXPECT_EQ(m_view.m_reader.m_pfnByteHook.load(), nullptr);
    EXPECT_TRUE(m_view.m_bExtendedModel);
}

TEST_F(ViewLinkTest, AFailedParameterReadKeepsTheLinkAndTheModelFlag) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    m_view.m_bExtendedModel = true;
    reader.m_emulator.SetFault(EmulatorFault::NoAnswer);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_TRUE(m_view.m_bExtendedModel);
    EXPECT_EQ(m_view.m_strPortName, "COM40");
}

TEST_F(ViewLinkTest, APieceLeftOpenWhileTheHookIsOffIsContinuedAfterwards) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    ASSERT_TRUE(m_view.OpenLink());
    auto received = [&](size_t n) {
        return WaitUntil([&] { return m_view.m_reader.Reply().size() >= n; });
    };
    m_view.m_reader.ClearReply();
    reader.m_emulator.Send({{0ms, "AB"}});
    ASSERT_TRUE(received(2));
    m_view.HookOff();
    reader.m_emulator.Send({{0ms, "zz"}});
    ASSERT_TRUE(received(4));
    m_view.HookOn();
    reader.m_emulator.Send({{0ms, "C\r\n"}});
    ASSERT_TRUE(WaitUntil([&] { return Text().contains('\n'); }));
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("ABC\r\n"));
}

TEST_F(ViewLinkTest, OpenLinkFailureLeavesThePaneEmpty) {
    CSettingsStore::WriteProfileString("Port", "Name", "COM77");
    QSignalSpy title(&m_view, &COrvaneView::TitleTextChanged);
    EXPECT_FALSE(m_view.OpenLink());
    EXPECT_EQ(m_view.m_strPortName, QString());
    EXPECT_FALSE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(title.count(), 0);
}

TEST_F(ViewLinkTest, HandEditedTimeoutsAreHeldToTheDialogsRange) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    CSettingsStore::WriteProfileInt("Port", "Timeout", -1);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_EQ(m_view.m_reader.m_timeoutMs.load(), 10u);
    CSettingsStore::WriteProfileInt("Port", "Timeout", 0);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_EQ(m_view.m_reader.m_timeoutMs.load(), 10u);
}

TEST_F(ViewLinkTest, AnInitialUpdateWhileTheLinkIsOpenLeavesItAlone) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    m_view.OnInitialUpdate();
    ASSERT_TRUE(m_view.OnUpdateLinkCommand());
    m_doc.OnNewDocument();
    m_view.OnInitialUpdate();
    EXPECT_EQ(CountRequests(reader.m_emulator, "P"), 1u);
    reader.m_emulator.Send({{0ms, "00C0FFEE\r\n"}});
    EXPECT_TRUE(WaitUntil([&] { return Text().contains("00C0FFEE"); }));
}

TEST_F(ViewLinkTest, StartUpAsksForAnInterfaceUntilOneOpens) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    CSettingsStore::WriteProfileString("Port", "Name", "COM77");  // not present
    CModalScript script;
    script.On<CInterfaceDlg>([](CInterfaceDlg* dialog) {
        const auto items = dialog->m_lbPorts->findItems("COM40", Qt::MatchStartsWith);
        ASSERT_EQ(items.size(), 1);
        dialog->m_lbPorts->setCurrentItem(items.front());
        QTest::mouseClick(dialog->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    });
    script.Start();
    m_view.OnInitialUpdate();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM40");
}

TEST_F(ViewLinkTest, StartUpEndsWhenTheDialogIsCancelled) {
    CSettingsStore::WriteProfileString("Port", "Name", "COM77");
    CModalScript script;
    script.On<CInterfaceDlg>([](CInterfaceDlg* dialog) { dialog->reject(); });
    script.Start();
    m_view.OnInitialUpdate();
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, QString());
}

TEST_F(ViewLinkTest, TheOneFreeAdapterReplacesAStoredAdapterWithoutAsking) {
    CStandInAdapters adapters;
    ASSERT_TRUE(adapters.Usable());
    CEmulatorPort reader(ReaderModel::Extended);
    ASSERT_TRUE(reader.Start());
    adapters.Add("NEW00001", reader.m_emulator.PortPath());
    CSettingsStore::WriteProfileString("Port", "Name", "USB: OLD00001");
    CModalScript script;
    script.Start();
    m_view.OnInitialUpdate();
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join(';').toStdString();
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "USB: NEW00001");
    ASSERT_TRUE(m_view.OnUpdateLinkCommand());
    // The pane shows the serial number alone.
    EXPECT_EQ(m_view.m_strPortName, "NEW00001");
    EXPECT_TRUE(m_view.m_bExtendedModel);
    m_view.CloseLink();
}

TEST_F(ViewLinkTest, AnAutomaticChoiceThatDoesNotOpenFallsBackToTheDialog) {
    CStandInAdapters adapters;
    ASSERT_TRUE(adapters.Usable());
    adapters.Add("BAD00001", "/nonexistent/port");
    CSettingsStore::WriteProfileString("Port", "Name", "USB: OLD00001");
    int dialogs = 0;
    CModalScript script;
    script.On<CInterfaceDlg>([&dialogs](CInterfaceDlg* dialog) {
        ++dialogs;
        dialog->reject();
    });
    script.Start();
    m_view.OnInitialUpdate();
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "USB: BAD00001");
}

}  // namespace
