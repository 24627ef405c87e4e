#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

#include "DialogTestSupport.h"
#include "Ser2net.h"
#include "common/LinkTexts.h"
#include "common/SettingsStore.h"
#include "link/PortBackend.h"
#include "shell/InterfaceDlg.h"
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

TEST_F(ViewLinkTest, StartUpSaysWhyAndEndsWhenTheDialogIsCancelled) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    // Another user of the port holds it.
    CReaderProtocol holder;
    ASSERT_TRUE(holder.Open("COM40", 19200, 'N', 8, 1, 0, 9, 100));
    const QString why = QString("COM40 (%1) ist von einem anderen Programm belegt.")
                            .arg(QString::fromStdString(reader.m_emulator.PortPath()));
    QString shown;
    CModalScript script;
    script.On<CInterfaceDlg>([&shown](CInterfaceDlg* dialog) {
        auto* reason = dialog->findChild<QLabel*>("IDC_REASON");
        shown = reason != nullptr && reason->isVisible() ? reason->text() : QString();
        dialog->reject();
    });
    script.Start();
    m_view.OnInitialUpdate();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(shown, why);
    EXPECT_FALSE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, QString());
    // Without a link, the status line keeps saying why.
    EXPECT_EQ(m_view.StatusText(), why);
}

double ProcessCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

TEST_F(ViewLinkTest, AnUnpluggedReaderIsTakenAsLostAndComesBackByItself) {
    // The reader behind a stable link, as /dev/serial/by-id names an adapter.
    QTemporaryDir dir;
    EmulatorOptions options;
    options.baudRate = 19200;  // paced, so that the read-out takes seconds
    options.seedRecords = 400;
    options.linkPath = dir.filePath("usb-Meridel_Orvane-if00-port0").toStdString();
    auto first = std::make_unique<CReaderEmulator>(options);
    ASSERT_TRUE(first->Start());
    CSettingsStore::WriteProfileString("Devices", "COM40",
                                       QString::fromStdString(options.linkPath));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 200);
    ASSERT_TRUE(m_view.OpenLink());
    QSignalSpy status(&m_view, &COrvaneView::StatusChanged);

    // The cable is pulled during the read-out: what arrived stays, and the
    // read error is the only message.
    QTimer::singleShot(400, [&] { first->HangUp(); });
    CModalScript script;
    script.Message(QMessageBox::Ok);
    script.Start();
    m_view.OnReadRecords();
    script.Stop();
    EXPECT_TRUE(script.Done());
    // The reply as received, without the zero byte that closed its judged text.
    const std::vector<uint8_t> reply = m_view.m_reader.Reply();
    const std::vector<uint8_t> received(reply.begin(), std::find(reply.begin(), reply.end(), 0));
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(m_view.TranscriptBytes(),
              QByteArray(reinterpret_cast<const char*>(received.data()), received.size()));
    EXPECT_TRUE(m_view.IsLinkLost());
    EXPECT_FALSE(m_view.m_reader.IsOpen());
    EXPECT_TRUE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.PortPaneText(), "COM40 getrennt");
    EXPECT_EQ(m_view.StatusText(), LinkTexts::Lost("COM40", true));

    // Another device takes the freed pseudo-terminal number that the link
    // still names, as another program's terminal or another adapter without
    // a serial number would: it is named, never opened, and gets no request.
    CPtySquatter squatter(first->PortPath());
    ASSERT_TRUE(squatter.Holds()) << first->PortPath();
    const double cpuBefore = ProcessCpuSeconds();
    EXPECT_TRUE(WaitUntil([&] { return m_view.StatusText() == LinkTexts::OtherDevice("COM40"); }));
    ProcessEventsFor(std::chrono::milliseconds(1500));
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.3);
    EXPECT_EQ(status.count(), 2);
    CModalScript none;
    none.Start();
    m_view.OnReadClock();
    EXPECT_FALSE(m_view.m_reader.IsOpen());
    EXPECT_EQ(squatter.Received(), "");

    // Unplugged for good, its link goes too: a command says why instead of
    // failing with a read error.
    ASSERT_EQ(::unlink(options.linkPath.c_str()), 0);
    m_view.OnReadClock();
    none.Stop();
    EXPECT_TRUE(none.m_unexpected.isEmpty()) << none.m_unexpected.join(';').toStdString();
    EXPECT_TRUE(m_view.IsLinkLost());
    EXPECT_TRUE(m_view.StatusText().startsWith("COM40 ("));
    EXPECT_TRUE(
        m_view.StatusText().endsWith("ist nicht vorhanden (nicht eingesteckt oder "
                                     "keinem Gerät zugeordnet)."));

    // Plugged in again, it comes back behind the same link; the link opens
    // by itself and reaches the new reader.
    options.seedRecords = 3;
    options.baudRate = 0;
    CReaderEmulator second(options);
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(WaitUntil([&] { return m_view.m_reader.IsOpen(); }, 10s));
    EXPECT_FALSE(m_view.IsLinkLost());
    EXPECT_EQ(m_view.PortPaneText(), "COM40");
    EXPECT_EQ(m_view.StatusText(), LinkTexts::Restored("COM40"));
    EXPECT_EQ(second.Requests(), std::vector<std::string>({"P"}));
    // The cut read-out is still unsaved: the new one asks before it goes.
    CModalScript discard;
    discard.Message(QMessageBox::No);
    discard.Start();
    m_view.OnReadRecords();
    discard.Stop();
    EXPECT_EQ(discard.m_messages, QStringList{"Änderungen in Unbenannt speichern?"});
    EXPECT_TRUE(WaitUntil([&] { return Text().endsWith("END\n"); }));
    EXPECT_EQ(m_view.StatusText(), "");
    first.reset();
}

TEST_F(ViewLinkTest, AStoppedDeviceServerIsTakenAsLostAndComesBackByItself) {
    if (!CSer2net::Installed()) {
        GTEST_SKIP() << "ser2net is not installed";
    }
    // The reader behind ser2net, which opens it by a link, as a server names
    // its ports.
    QTemporaryDir dir;
    EmulatorOptions options;
    options.baudRate = 19200;  // paced, so that the read-out takes seconds
    options.seedRecords = 400;
    options.linkPath = dir.filePath("reader").toStdString();
    auto first = std::make_unique<CReaderEmulator>(options);
    ASSERT_TRUE(first->Start());
    CSer2net server(options.linkPath);
    ASSERT_TRUE(server.Start()) << server.Log();
    CSettingsStore::WriteProfileString("Devices", "COM41",
                                       QString::fromStdString(server.Rfc2217Address()));
    CSettingsStore::WriteProfileString("Port", "Name", "COM41");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 200);
    ASSERT_TRUE(m_view.OpenLink());
    EXPECT_EQ(m_view.StatusText(), "");

    // The server stops during the read-out: what arrived stays.
    QTimer::singleShot(400, [&] { server.Stop(); });
    CModalScript script;
    script.Message(QMessageBox::Ok);
    script.Start();
    m_view.OnReadRecords();
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(m_view.TranscriptBytes().isEmpty());
    EXPECT_TRUE(m_view.IsLinkLost());
    EXPECT_EQ(m_view.PortPaneText(), "COM41 getrennt");
    EXPECT_EQ(m_view.StatusText(), LinkTexts::Lost("COM41", true));

    // A command while the server is down says why, without a message box;
    // the watch keeps the window responsive.
    CModalScript none;
    none.Start();
    m_view.OnReadClock();
    none.Stop();
    EXPECT_TRUE(none.m_unexpected.isEmpty()) << none.m_unexpected.join(';').toStdString();
    EXPECT_TRUE(m_view.StatusText().startsWith(
        QString("COM41 (%1): Der Rechner 127.0.0.1 lehnt die Verbindung ab")
            .arg(QString::fromStdString(server.Rfc2217Address()))))
        << m_view.StatusText().toStdString();
    const auto before = std::chrono::steady_clock::now();
    ProcessEventsFor(1500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2500ms);

    // The server comes back with its reader: the link opens by itself.
    first.reset();
    options.seedRecords = 3;
    options.baudRate = 0;
    CReaderEmulator second(options);
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(server.Start()) << server.Log();
    EXPECT_TRUE(WaitUntil([&] { return m_view.m_reader.IsOpen(); }, 15s));
    EXPECT_FALSE(m_view.IsLinkLost());
    EXPECT_EQ(m_view.PortPaneText(), "COM41");
    EXPECT_EQ(m_view.StatusText(), LinkTexts::Restored("COM41"));
    EXPECT_EQ(second.Requests(), std::vector<std::string>({"P"}));
    // The cut-short read-out is unsaved: the next one asks before replacing it.
    CModalScript save;
    save.Message(QMessageBox::No);
    save.Start();
    m_view.OnReadRecords();
    save.Stop();
    EXPECT_EQ(save.m_messages.size(), 1);
    EXPECT_TRUE(WaitUntil([&] { return Text().endsWith("END\n"); }));
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

// A stored port that did not open at start-up, held by another program or
// not yet plugged in, is opened by the watch once it can be, and only then.
TEST_F(ViewLinkTest, AStoredPortThatDidNotOpenAtStartUpOpensOnceItCan) {
    QTemporaryDir dir;
    for (const bool held : {true, false}) {
        SCOPED_TRACE(held ? "held" : "missing");
        EmulatorOptions options;
        options.linkPath = dir.filePath(held ? "held" : "missing").toStdString();
        CEmulatorPort reader(options);
        std::unique_ptr<CReaderProtocol> holder;
        if (held) {
            ASSERT_TRUE(reader.Start());
            holder = std::make_unique<CReaderProtocol>();
            ASSERT_TRUE(holder->Open("COM40", 19200, 'N', 8, 1, 0, 9, 100));
        }
        CSettingsStore::WriteProfileString("Devices", "COM40",
                                           QString::fromStdString(options.linkPath));
        CSettingsStore::WriteProfileString("Port", "Name", "COM40");
        CModalScript script;
        script.On<CInterfaceDlg>([](CInterfaceDlg* dialog) { dialog->reject(); });
        script.Start();
        m_view.OnInitialUpdate();
        ASSERT_TRUE(script.Done());
        const QString reason = m_view.StatusText();
        EXPECT_TRUE(reason.contains(held ? "belegt" : "nicht vorhanden")) << reason.toStdString();
        ProcessEventsFor(1500ms);
        EXPECT_FALSE(m_view.OnUpdateLinkCommand());
        EXPECT_EQ(m_view.StatusText(), reason);

        if (held) {
            holder.reset();
        } else {
            ASSERT_TRUE(reader.Start());
        }
        EXPECT_TRUE(WaitUntil([&] { return m_view.OnUpdateLinkCommand(); }, 5s));
        EXPECT_EQ(m_view.StatusText(), "");
        EXPECT_EQ(m_view.m_strPortName, "COM40");
        EXPECT_EQ(reader.m_emulator.Requests(), std::vector<std::string>({"P"}));
        m_view.CloseLink();
    }
}

TEST_F(ViewLinkTest, LineErrorsDuringAReadOutAreSaidAndItsTextStays) {
    CStandInAdapters adapters;
    ASSERT_TRUE(adapters.Usable());
    EmulatorOptions options;
    options.baudRate = 19200;  // paced: the errors come while the records stream
    options.seedRecords = 40;
    CEmulatorPort reader(options);
    ASSERT_TRUE(reader.Start());
    adapters.Add("LINE0001", reader.m_emulator.PortPath());
    CSettingsStore::WriteProfileString("Port", "Name", "USB: LINE0001");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 250);
    ASSERT_TRUE(m_view.OpenLink());
    QTimer::singleShot(150,
                       [&] { adapters.InjectLineErrors(kErrOverrun | kErrFraming | kErrParity); });
    m_view.OnReadRecords();
    EXPECT_TRUE(Text().endsWith("END\n"));
    EXPECT_EQ(Text().count('\n'), 41);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_view.StatusText(),
              "Leitungsfehler beim Lesen (Überlauf, Rahmenfehler, Paritätsfehler): Einzelne "
              "Zeichen im Protokoll können fehlen oder falsch sein.");
    // A clean read-out says nothing.
    m_doc.SetModifiedFlag(false);
    m_view.OnReadRecords();
    EXPECT_TRUE(Text().endsWith("END\n"));
    EXPECT_EQ(m_view.StatusText(), "");
    m_view.CloseLink();
}

}  // namespace
