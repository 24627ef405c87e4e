#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ProgramChecks.h"
#include "TestPort.h"
#include "tools/emulator/ReaderEmulator.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

// Talks to a running emulator as the program does: send a request, take what arrives until
// the line has been silent for a while.
class EmulatorConversation : public ::testing::TestWithParam<ReaderModel> {
protected:
    void SetUp() override {
        EmulatorOptions options;
        options.model = GetParam();
        options.seedRecords = 25;
        options.progressInterval = 50us;
        options.resetDelay = 100ms;
        options.faultPause = 400ms;
        m_emulator = std::make_unique<CReaderEmulator>(options);
        ASSERT_TRUE(m_emulator->Start());
        m_port = std::make_unique<CTestPort>(m_emulator->PortPath());
        ASSERT_TRUE(m_port->IsOpen());
    }

    // Takes the reply until the line has been silent for `silence`.
    std::string Ask(const std::string& request, milliseconds silence = 150ms) {
        EXPECT_TRUE(m_port->Write(request));
        return m_port->ReadUntilSilent(silence);
    }
    // Takes the reply up to its expected end, and nothing after it.
    std::string AskUntil(const std::string& request, const std::string& tail = "\r\n") {
        EXPECT_TRUE(m_port->Write(request));
        return m_port->ReadUntil(tail);
    }

    std::unique_ptr<CReaderEmulator> m_emulator;
    std::unique_ptr<CTestPort> m_port;
};

TEST_P(EmulatorConversation, EveryRequestPassesTheProgramsChecks) {
    EXPECT_TRUE(checks::ClockRead(AskUntil("R")));
    EXPECT_TRUE(checks::ClockSet(AskUntil("S311227235958"), "311227235958"));
    const std::string records = AskUntil("L", "END\r\n");
    EXPECT_TRUE(checks::RecordsRead(records));
    EXPECT_GT(records.size(), 25u * 30u);
    const std::string report = AskUntil("P");
    EXPECT_TRUE(checks::ParametersRead(report));
    EXPECT_EQ(report.find("V:") != std::string::npos, GetParam() == ReaderModel::Extended);

    EXPECT_TRUE(checks::IdSet(AskUntil("I05"), "05"));
    EXPECT_TRUE(checks::DigitSet(AskUntil("M1"), "M:", "1"));
    EXPECT_TRUE(checks::DigitSet(AskUntil("F1"), "F:", "1"));
    EXPECT_TRUE(checks::DigitSet(AskUntil("U1"), "U:", "1"));
    EXPECT_TRUE(checks::TimingSet(AskUntil("H042"), "H", "042"));
    EXPECT_TRUE(checks::TimingSet(AskUntil("Z017"), "Z", "017"));
    EXPECT_TRUE(checks::TimingSet(AskUntil("V009"), "V", "009"));

    EXPECT_TRUE(checks::KeysWritten(AskUntil("W\r\n0012AB34\r\n00FF0001\r\nX")));
    std::string keys;
    EXPECT_TRUE(checks::KeysRead(AskUntil("K", "X"), keys));
    EXPECT_EQ(keys, "0012AB34\r\n00FF0001\r\n");

    const auto start = steady_clock::now();
    const std::string reset = AskUntil("D");
    EXPECT_GE(steady_clock::now() - start, 100ms);
    EXPECT_TRUE(checks::ResetDone(reset));
    EXPECT_TRUE(checks::KeysRead(AskUntil("K", "X"), keys));
    EXPECT_EQ(keys, "");

    const std::string test = AskUntil("\xC8", "OK\r\n");
    EXPECT_EQ(test.size(), 1028u);
    EXPECT_TRUE(checks::ProgressDone(test));
    const std::string clear = AskUntil("C", "OK\r\n");
    EXPECT_EQ(clear.size(), 516u);
    EXPECT_TRUE(checks::ProgressDone(clear));
    EXPECT_EQ(Ask("L", 100ms), "END\r\n");

    EXPECT_EQ(m_emulator->Requests().size(), 18u);
}

TEST_P(EmulatorConversation, TeachInReportsPresentedBadges) {
    ASSERT_TRUE(m_port->Write("T"));
    ASSERT_TRUE(m_emulator->WaitForRequests(1, 2s));
    EXPECT_TRUE(m_emulator->TeachIn());
    ASSERT_TRUE(m_emulator->PresentBadge("ABCDEF01"));
    EXPECT_EQ(m_port->ReadUntil("\r\n"), "ABCDEF01\r\n");
    ASSERT_TRUE(m_port->Write("X"));
    ASSERT_TRUE(m_emulator->WaitForRequests(2, 2s));
    EXPECT_FALSE(m_emulator->TeachIn());
    EXPECT_FALSE(m_emulator->PresentBadge("not a key"));
    EXPECT_EQ(m_emulator->Keys(), std::vector<std::string>{"ABCDEF01"});
    EXPECT_EQ(m_emulator->RecordCount(), 26u);
}

TEST_P(EmulatorConversation, ProgressBytesArePaced) {
    m_emulator->Stop();
    EmulatorOptions options;
    options.model = GetParam();
    options.progressInterval = 500us;  // 512 bytes: at least about a quarter of a second
    CReaderEmulator paced(options);
    ASSERT_TRUE(paced.Start());
    CTestPort port(paced.PortPath());
    const auto start = steady_clock::now();
    ASSERT_TRUE(port.Write("C"));
    const std::string reply = port.ReadUntil("OK\r\n");
    const auto took = steady_clock::now() - start;
    EXPECT_EQ(reply.size(), 516u);
    EXPECT_GE(took, 256ms);
    EXPECT_LT(took, 5s);
}

INSTANTIATE_TEST_SUITE_P(BothModels, EmulatorConversation,
                         ::testing::Values(ReaderModel::Basic, ReaderModel::Extended),
                         [](const auto& info) {
                             return info.param == ReaderModel::Basic ? "Basic" : "Extended";
                         });

// Each fault, as the program meets it on the line.
class EmulatorFaults : public EmulatorConversation {};

TEST_P(EmulatorFaults, NoAnswerStaysSilentButTheReaderActs) {
    m_emulator->SetFault(EmulatorFault::NoAnswer);
    EXPECT_EQ(Ask("M1", 300ms), "");
    EXPECT_EQ(Ask("C", 300ms), "");
    EXPECT_EQ(m_emulator->RecordCount(), 0u);
    m_emulator->SetFault(EmulatorFault::None);
    EXPECT_EQ(Ask("F0"), "F:0\r\n");
}

TEST_P(EmulatorFaults, PauseMidReplyCutsTheReplyForLongerThanTheTimeout) {
    m_emulator->SetFault(EmulatorFault::PauseMidReply);
    ASSERT_TRUE(m_port->Write("S010126120000"));
    // Silence of 300 ms ends the first part; the pause is 400 ms.
    const std::string first = m_port->ReadUntilSilent(300ms);
    EXPECT_EQ(first, "01.01.26 ");
    EXPECT_FALSE(checks::ClockSet(first, "010126120000"));
    EXPECT_EQ(m_port->ReadUntil("\r\n"), "12:00:00\r\n");
}

TEST_P(EmulatorFaults, WrongEchoFailsTheEchoChecks) {
    m_emulator->SetFault(EmulatorFault::WrongEcho);
    EXPECT_FALSE(checks::ClockSet(Ask("S010126120000"), "010126120000"));
    EXPECT_FALSE(checks::IdSet(Ask("I01"), "01"));
    EXPECT_FALSE(checks::DigitSet(Ask("U1"), "U:", "1"));
    EXPECT_FALSE(checks::TimingSet(Ask("Z005"), "Z", "005"));
    EXPECT_FALSE(checks::ResetDone(Ask("D")));
    EXPECT_FALSE(checks::KeysWritten(Ask("W\r\n1\r\nX")));
}

TEST_P(EmulatorFaults, MissingEndLeavesOutTheClosingLine) {
    m_emulator->SetFault(EmulatorFault::MissingEnd);
    const std::string records = Ask("L");
    EXPECT_FALSE(checks::RecordsRead(records));
    EXPECT_EQ(records.find("END"), std::string::npos);
    EXPECT_GT(records.size(), 25u * 30u);
    std::string keys;
    EXPECT_FALSE(checks::KeysRead(Ask("K"), keys));
    const std::string clear = Ask("C");
    EXPECT_EQ(clear, std::string(512, '.'));
    EXPECT_FALSE(checks::ProgressDone(clear));
}

TEST_P(EmulatorFaults, GarbageFailsEveryCheck) {
    m_emulator->SetFault(EmulatorFault::Garbage);
    const std::string clock = Ask("R");
    EXPECT_EQ(clock.size(), 19u);
    EXPECT_EQ(clock.find(':'), std::string::npos);
    EXPECT_FALSE(checks::RecordsRead(Ask("L")));
    EXPECT_FALSE(checks::IdSet(Ask("I01"), "01"));
}

TEST_P(EmulatorFaults, HangUpClosesTheLineOnTheNextRequest) {
    m_emulator->SetFault(EmulatorFault::HangUp);
    ASSERT_TRUE(m_port->Write("P"));
    EXPECT_TRUE(m_port->WaitForHangUp(2s));
    EXPECT_TRUE(m_emulator->HungUp());
    EXPECT_EQ(m_emulator->Requests(), std::vector<std::string>{"P"});
}

// Faults do not depend on the model.
INSTANTIATE_TEST_SUITE_P(ExtendedModel, EmulatorFaults, ::testing::Values(ReaderModel::Extended),
                         [](const auto&) { return "Extended"; });

}  // namespace
