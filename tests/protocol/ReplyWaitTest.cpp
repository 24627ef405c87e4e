// The reply waits over a real pseudo-terminal link: silence, the guarded
// start, the tick wrap, replies cut by a pause, refused requests and
// destruction while bytes stream in.
#include <chrono>
#include <thread>

#include "ProtocolTestSupport.h"
#include "protocol/Tick.h"

namespace {
using ReplyWaitTest = LinkedProtocolTest;

std::atomic<uint32_t> g_tickOffset{0};

uint32_t SteadyMs() {
    return static_cast<uint32_t>(
        std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}
uint32_t ShiftedTick() {
    return SteadyMs() + g_tickOffset.load();
}

// Polls cond for up to timeout.
template <typename Cond>
bool Eventually(Cond cond, Ms timeout = Ms(3000)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(Ms(2));
    }
    return true;
}

TEST_F(ReplyWaitTest, PlainWaitWithoutAnswerEndsJustAfterTheTimeOut) {
    Protocol().m_timeoutMs = 300;
    std::string report = "old";
    CStopwatch watch;
    EXPECT_FALSE(Protocol().ReadParameters(report));
    const long long elapsed = watch.Elapsed();
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 3000);
    EXPECT_EQ(report, "");
    EXPECT_GE(m_ui.pumps, 10);  // the UI stays alive in 10 ms steps
}

TEST_F(ReplyWaitTest, ZeroTimeOutEndsAtTheFirstPass) {
    Protocol().m_timeoutMs = 0;
    std::string report;
    EXPECT_FALSE(Protocol().ReadParameters(report));
    // At most one pass of 10 ms before the tick moves on; the 80 ms the link
    // was configured with would take eight.
    EXPECT_LE(m_ui.pumps, 1);
}

TEST_F(ReplyWaitTest, GuardedWaitEndsAtTheFourthByteNotAtSilence) {
    Protocol().m_timeoutMs = 2000;  // silence alone would take two seconds
    AnswerWith({{Ms(0), "OK\r\n"}});
    CStopwatch watch;
    EXPECT_TRUE(Protocol().WriteKeys("00001234"));
    EXPECT_LT(watch.Elapsed(), 1500);
}

TEST_F(ReplyWaitTest, GuardedWaitGivesTheReaderTimeToStart) {
    // A first answer byte after ten silence periods still counts.
    Protocol().m_timeoutMs = 50;
    AnswerWith({{Ms(500), "OK\r\n"}});
    EXPECT_TRUE(Protocol().WriteKeys("1"));
}

TEST_F(ReplyWaitTest, PlainWaitAcrossTheTickWrap) {
    g_tickOffset = 0xFFFFFFFFu - 100u - SteadyMs();  // wraps 100 ms from now
    SetTickSource(&ShiftedTick);
    Protocol().m_timeoutMs = 300;
    std::string report;
    CStopwatch watch;
    EXPECT_FALSE(Protocol().ReadParameters(report));
    const long long elapsed = watch.Elapsed();
    SetTickSource(nullptr);
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 3000);
}

TEST_F(ReplyWaitTest, ReplyCutByAPauseIsJudgedOnItsFirstPart) {
    Protocol().m_pfnByteHook = &CHookRecorder::Hook;
    AnswerWith({{Ms(0), "0001 A\r\n"}, {Ms(500), "END\r\n"}});
    std::string records;
    EXPECT_FALSE(Protocol().ReadRecords(records));
    EXPECT_EQ(records, "0001 A\r\n");

    // The late part still lands in the buffer, after the zero byte that ended
    // the text taken, and reaches the hook.
    const std::string kept = std::string("0001 A\r\n") + '\0' + "END\r\n";
    EXPECT_TRUE(Eventually([&] { return Protocol().Reply().size() == kept.size(); }));
    const std::vector<uint8_t> reply = Protocol().Reply();
    EXPECT_EQ(std::string(reply.begin(), reply.end()), kept);
    EXPECT_EQ(CHookRecorder::Bytes(), "0001 A\r\nEND\r\n");
}

// A read-out that may end at its "END" line ends soon after one at a line
// start; anything else still waits for silence. Bytes after the grace are
// no longer part of it.
TEST_F(ReplyWaitTest, EndLineWaitEndsSoonAfterAnEndLineAtALineStart) {
    Protocol().m_timeoutMs = 600;
    struct Case {
        Reply reply;
        bool early;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{
             {{{Ms(0), "0001 A\r\nEND\r\n"}}, true, "0001 A\r\nEND\r\n"},
             {{{Ms(0), "END\r\n"}}, true, "END\r\n"},
             {{{Ms(0), "0001 A\r\nEND\r\n"}, {Ms(300), "0002 B\r\n"}}, true, "0001 A\r\nEND\r\n"},
             {{{Ms(0), "0001 AEND\r\n"}}, false, "0001 AEND\r\n"},
             {{{Ms(0), "END\r\n0002"}}, false, "END\r\n0002"}}) {
        SCOPED_TRACE(c.text);
        AnswerWith(c.reply);
        std::string text;
        CStopwatch watch;
        Protocol().ReadRecords(text, CReaderProtocol::RecordsEnd::EndLine);
        EXPECT_EQ(watch.Elapsed() < 300, c.early);
        EXPECT_EQ(Protocol().LastWaitEnd() == CReaderProtocol::WaitEnd::EndLine, c.early);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(m_ui.begins, m_ui.ends);
        std::this_thread::sleep_for(Ms(400));  // the late part of a reply passes
    }
}

// A wait that its owner stops fails the request at once, with the cursor balanced.
TEST_F(ReplyWaitTest, AStoppedWaitFailsItsRequest) {
    Protocol().m_timeoutMs = 2000;
    Protocol().stopAt = [](size_t bytes) { return bytes >= 100; };
    AnswerWith({{Ms(0), std::string(200, '1')}, {Ms(1000), "\r\nEND\r\n"}});
    std::string text = "old";
    CStopwatch watch;
    EXPECT_FALSE(Protocol().ReadRecords(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(Protocol().ClearBuffer());
    EXPECT_LT(watch.Elapsed(), 1500);
    EXPECT_EQ(Protocol().LastWaitEnd(), CReaderProtocol::WaitEnd::Stopped);
    EXPECT_EQ(m_ui.begins, m_ui.ends);
}

TEST_F(ReplyWaitTest, OversizedKeyListIsRefusedWithoutSending) {
    CStopwatch watch;
    EXPECT_FALSE(Protocol().WriteKeys(std::string(20000, '7')));
    EXPECT_LT(watch.Elapsed(), 1000);  // no wait for an answer that cannot come
    EXPECT_FALSE(Emulator().WaitForRequests(1, Ms(200)));
    EXPECT_EQ(m_ui.begins, m_ui.ends);

    // A long list that fits goes out whole.
    std::string list;
    for (int i = 0; i < 1000; ++i) {
        list += "0000" + std::to_string(1000 + i) + "\r\n";
    }
    AnswerWith({{Ms(0), "OK\r\n"}});
    EXPECT_TRUE(Protocol().WriteKeys(list));
    ASSERT_TRUE(Emulator().WaitForRequests(1, Ms(2000)));
    list.resize(list.size() - 2);
    EXPECT_EQ(Emulator().Requests().at(0), "W\r\n" + list + "\r\nX");
    EXPECT_EQ(m_ui.begins, m_ui.ends);
}

TEST_F(ReplyWaitTest, CommandsOnAClosedLinkFailAtOnce) {
    Protocol().Close();
    std::string text = "old";
    EXPECT_FALSE(Protocol().ReadRecords(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(Protocol().ReadClock(text));
    EXPECT_FALSE(Protocol().ResetParameters());
    EXPECT_EQ(m_ui.pumps, 0);  // not one pass of a reply wait
    EXPECT_EQ(m_ui.begins, m_ui.ends);
}

TEST_F(ReplyWaitTest, TeachInBytesReachBufferAndHookWithoutATransaction) {
    Protocol().m_pfnByteHook = &CHookRecorder::Hook;
    AnswerWith({{Ms(0), "00001234\r\n"}});
    CStopwatch watch;
    ASSERT_TRUE(Protocol().Write("T", CSerialEngine::kWholeText));
    EXPECT_LT(watch.Elapsed(), 100);  // a bare write never waits
    ASSERT_TRUE(Emulator().WaitForRequests(1, Ms(2000)));
    EXPECT_EQ(Emulator().Requests().at(0), "T");
    EXPECT_TRUE(Eventually([] { return CHookRecorder::Bytes() == "00001234\r\n"; }));
    EXPECT_EQ(Protocol().Reply().size(), 10u);
}

TEST(ProtocolLifetime, DestroyedWhileBytesStreamIn) {
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    CMapDeviceEntries entries;
    entries.WriteEntry(44, emulator.PortPath());
    SetDeviceEntries(&entries);
    CHookRecorder::Reset();
    // The plain class, as the view owns it: a derived test class would change
    // the object's type during destruction, which is a race of its own.
    auto protocol = std::make_unique<CReaderProtocol>();
    ASSERT_TRUE(protocol->Open("COM44", 19200, 'N', 8, 1, 0, 9, 15000));
    ASSERT_TRUE(protocol->StartMonitoring());
    protocol->m_pfnByteHook = &CHookRecorder::Hook;

    emulator.Send({{Ms(0), std::string(1 << 20, 'x')}});
    EXPECT_TRUE(Eventually([] { return CHookRecorder::Bytes().size() > 4096; }));
    protocol.reset();  // must stop the thread before the buffer goes
    const size_t seen = CHookRecorder::Bytes().size();
    EXPECT_LT(seen, size_t{1} << 20);  // it really was mid-stream
    std::this_thread::sleep_for(Ms(50));
    EXPECT_EQ(CHookRecorder::Bytes().size(), seen);  // nothing after destruction
    emulator.Stop();
    SetDeviceEntries(nullptr);
}
}  // namespace
