// Every reader command once against the reader emulator, over its
// pseudo-terminal and through ser2net as a raw TCP and an RFC 2217 port, plus
// the faults that matter to the waits.
#include <algorithm>
#include <thread>

#include "ProtocolTestSupport.h"

namespace {
EmulatorOptions Options() {
    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    options.seedRecords = 3;
    options.progressInterval = std::chrono::microseconds(100);
    options.resetDelay = Ms(200);
    options.faultPause = Ms(600);
    return options;
}

class EmulatorEndToEndTest : public ::testing::TestWithParam<LinkVia> {
protected:
    void SetUp() override {
        if (GetParam() != LinkVia::Pty && !CSer2net::Installed()) {
            GTEST_SKIP() << "ser2net is not installed";
        }
        SetUserInterface(&m_ui);
        CHookRecorder::Reset();
        m_link = std::make_unique<CEmulatorLink>(Options(), 100, GetParam());
        ASSERT_TRUE(m_link->Ok()) << (m_link->ser2net ? m_link->ser2net->Log() : "");
    }
    void TearDown() override {
        m_link.reset();
        SetUserInterface(nullptr);
    }

    CReaderProtocol& Reader() { return m_link->protocol; }
    CReaderEmulator& Emulator() { return m_link->emulator; }

    CCountingUserInterface m_ui;
    std::unique_ptr<CEmulatorLink> m_link;
};

INSTANTIATE_TEST_SUITE_P(Links, EmulatorEndToEndTest,
                         ::testing::Values(LinkVia::Pty, LinkVia::Socket, LinkVia::Rfc2217),
                         ViaName);

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST_P(EmulatorEndToEndTest, ClockRecordsAndMaintenance) {
    std::string text;
    ASSERT_TRUE(Reader().SetClock("071226140509"));
    ASSERT_TRUE(Reader().ReadClock(text));
    EXPECT_EQ(text.substr(0, 14), "07.12.26 14:05");
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);

    ASSERT_TRUE(Reader().ReadRecords(text));
    EXPECT_EQ(Count(text, "\r\n"), 4u);  // three records and "END"

    ASSERT_TRUE(Reader().MemoryTest());
    ASSERT_TRUE(Reader().ClearBuffer());
    EXPECT_EQ(Emulator().RecordCount(), 0u);
    ASSERT_TRUE(Reader().ReadRecords(text));
    EXPECT_EQ(text, "END\r\n");

    ASSERT_TRUE(Reader().ReadParameters(text));
    EXPECT_NE(text.find("V:"), std::string::npos);  // the extended model

    const std::vector<std::string> requests = Emulator().Requests();
    const std::vector<std::string> expected = {"S071226140509", "R", "L", "\xC8", "C", "L", "P"};
    EXPECT_EQ(requests, expected);
    EXPECT_EQ(m_ui.begins, m_ui.ends);
}

TEST_P(EmulatorEndToEndTest, ConfigurationAndKeys) {
    EXPECT_TRUE(Reader().SetId("07"));
    EXPECT_TRUE(Reader().SetMode("2"));
    EXPECT_TRUE(Reader().SetNumberFormat("0"));
    EXPECT_TRUE(Reader().SetTimeFormat("1"));
    EXPECT_TRUE(Reader().SetTimingValue("H", "012"));
    std::string report;
    ASSERT_TRUE(Reader().ReadParameters(report));
    EXPECT_NE(report.find("H:012"), std::string::npos);

    EXPECT_TRUE(Reader().ResetParameters());
    ASSERT_TRUE(Reader().ReadParameters(report));
    EXPECT_NE(report.find("H:010"), std::string::npos);

    EXPECT_TRUE(Reader().WriteKeys("00001234\r\n0000ABCD\r\n"));
    EXPECT_EQ(Emulator().Keys().size(), 2u);
    std::string keys;
    EXPECT_TRUE(Reader().ReadKeys(keys));
    EXPECT_NE(keys.find("1234"), std::string::npos);
    EXPECT_NE(keys.find("ABCD"), std::string::npos);
    EXPECT_EQ(m_ui.begins, m_ui.ends);
}

TEST_P(EmulatorEndToEndTest, TeachInTrafficReachesTheHook) {
    Reader().m_pfnByteHook = &CHookRecorder::Hook;
    ASSERT_TRUE(Reader().Write("T", CSerialEngine::kWholeText));
    ASSERT_TRUE(Emulator().WaitForRequests(1, Ms(2000)));
    EXPECT_TRUE(Emulator().TeachIn());
    ASSERT_TRUE(Emulator().PresentBadge("1234ABCD"));
    const auto end = std::chrono::steady_clock::now() + Ms(3000);
    while (CHookRecorder::Bytes().find("1234ABCD") == std::string::npos &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(Ms(5));
    }
    EXPECT_NE(CHookRecorder::Bytes().find("1234ABCD"), std::string::npos);
    ASSERT_TRUE(Reader().Write("X", CSerialEngine::kWholeText));
    ASSERT_TRUE(Emulator().WaitForRequests(2, Ms(2000)));
    EXPECT_FALSE(Emulator().TeachIn());
    EXPECT_EQ(m_ui.begins + m_ui.restores + m_ui.ends, 0);
}

TEST_P(EmulatorEndToEndTest, FaultsGiveFalse) {
    Emulator().SetFault(EmulatorFault::NoAnswer);
    std::string text;
    CStopwatch watch;
    EXPECT_FALSE(Reader().ReadParameters(text));
    EXPECT_GE(watch.Elapsed(), 100);
    EXPECT_LT(watch.Elapsed(), 3000);

    Emulator().SetFault(EmulatorFault::WrongEcho);
    EXPECT_FALSE(Reader().SetId("05"));
    Emulator().SetFault(EmulatorFault::MissingEnd);
    EXPECT_FALSE(Reader().ReadRecords(text));
    Emulator().SetFault(EmulatorFault::PauseMidReply);  // pauses longer than the time-out
    EXPECT_FALSE(Reader().ReadRecords(text));
    Emulator().SetFault(EmulatorFault::None);
    std::this_thread::sleep_for(Ms(800));  // let the paused reply finish
    EXPECT_TRUE(Reader().ReadRecords(text));
}

TEST_P(EmulatorEndToEndTest, HangUpEndsInFalseAndAClosableLink) {
    Emulator().HangUp();
    std::string text = "old";
    EXPECT_FALSE(Reader().ReadClock(text));
    EXPECT_EQ(text, "old");
    CStopwatch watch;
    Reader().Close();
    EXPECT_LT(watch.Elapsed(), 2000);
}

// Few and slow: the guarded wait gives an unanswered request six seconds.
TEST(EmulatorGuardedWaitSlow, UnansweredResetGivesUpAfterSixSecondsPlusTimeOut) {
    CEmulatorLink link(Options(), 100);
    ASSERT_TRUE(link.Ok());
    link.emulator.SetFault(EmulatorFault::NoAnswer);
    CStopwatch watch;
    EXPECT_FALSE(link.protocol.ResetParameters());
    EXPECT_GE(watch.Elapsed(), 6100);
    EXPECT_LT(watch.Elapsed(), 9000);
}
}  // namespace
