// The receive path, the silence test and the trace, driven directly without a port.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <thread>

#include "ProtocolTestSupport.h"
#include "TraceCapture.h"
#include "protocol/Tick.h"
#include "protocol/Trace.h"

namespace {
std::atomic<uint32_t> g_fakeTick{0};
uint32_t FakeTick() {
    return g_fakeTick.load();
}

// A trace viewer: a datagram socket bound at the trace path of a private
// XDG_RUNTIME_DIR, for the duration of one test.
class TraceViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            m_oldRuntimeDir = old;
        }
        char dir[] = "/tmp/orvane-trace-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        setenv("XDG_RUNTIME_DIR", dir, 1);
    }

    void TearDown() override {
        if (m_viewer >= 0) {
            close(m_viewer);
        }
        unlink(TraceSocketPath().c_str());
        rmdir(m_dir.c_str());
        if (m_oldRuntimeDir) {
            setenv("XDG_RUNTIME_DIR", m_oldRuntimeDir->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }

    void BindViewer() {
        m_viewer = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(m_viewer, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const std::string path = TraceSocketPath();
        ASSERT_LT(path.size(), sizeof addr.sun_path);
        path.copy(addr.sun_path, path.size());
        ASSERT_EQ(bind(m_viewer, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }

    // Every datagram waiting, each as its bytes.
    std::vector<std::string> Received() {
        std::vector<std::string> pieces;
        char buffer[64];
        for (;;) {
            const ssize_t n = recv(m_viewer, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n < 0) {
                return pieces;
            }
            pieces.emplace_back(buffer, static_cast<size_t>(n));
        }
    }

    std::string m_dir;
    std::optional<std::string> m_oldRuntimeDir;
    int m_viewer = -1;
};

std::string Piece(std::initializer_list<uint8_t> bytes) {
    return Text(bytes);
}

TEST_F(TraceViewerTest, SocketPathFollowsRuntimeDir) {
    EXPECT_EQ(TraceSocketPath(), m_dir + "/MeridelTracer");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(TraceSocketPath(), "/tmp/MeridelTracer-" + std::to_string(getuid()));
    setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
}

TEST_F(TraceViewerTest, TextGoesOutInFourBytePieces) {
    BindViewer();
    Trace("ABCD");
    EXPECT_EQ(Received(), (std::vector<std::string>{"ABCD"}));  // no zero piece after it
    Trace("%s", "");
    EXPECT_TRUE(Received().empty());
    Trace("%d-%s", 42, "xy");
    EXPECT_EQ(Received(), (std::vector<std::string>{"42-x", Piece({'y', 0, 0, 0})}));

    // A longer text is cut to 511 characters, never read past the buffer: 128
    // pieces, the last with the terminating zero. More than the socket queue
    // holds, so they are caught on their way out.
    CTraceCapture capture;
    Trace("%s", std::string(600, 'q').c_str());
    const std::vector<std::string> pieces = capture.Pieces();
    ASSERT_EQ(pieces.size(), 128u);
    EXPECT_EQ(pieces.front(), "qqqq");
    EXPECT_EQ(pieces.back(), Piece({'q', 'q', 'q', 0}));
}

TEST_F(TraceViewerTest, ReceivedBytesAreTracedWithHeaderOncePerReply) {
    BindViewer();
    CTestProtocol protocol;
    for (uint8_t byte : std::initializer_list<uint8_t>{'A', 0x0D, 0x0A, 0x7F, 0x80, 0x20, 0x1F}) {
        protocol.OnByteReceived(byte);
    }
    const std::vector<std::string> expected = {"\nRea",
                                               Piece({'d', ':', ' ', 0}),
                                               Piece({'A', 0, 0, 0}),
                                               "<0d>",
                                               "<0a>",
                                               Piece({'\n', 0, 0, 0}),
                                               Piece({0x7F, 0, 0, 0}),
                                               "<80>",
                                               Piece({' ', 0, 0, 0}),
                                               "<1f>"};
    EXPECT_EQ(Received(), expected);

    protocol.ClearReply();
    protocol.OnByteReceived('B');
    EXPECT_EQ(Received(), (std::vector<std::string>{"\nRea", Piece({'d', ':', ' ', 0}),
                                                    Piece({'B', 0, 0, 0})}));
}

TEST_F(TraceViewerTest, AByteAfterAReplyWhoseTextWasTakenOpensNoNewReply) {
    CEmulatorLink link(EmulatorOptions{}, 20);
    ASSERT_TRUE(link.Ok());
    link.emulator.SetResponder([](const std::string&) { return Reply{}; });
    BindViewer();
    std::string report;
    EXPECT_FALSE(link.protocol.ReadParameters(report));
    // The text of the empty reply was taken: its zero byte stays in the buffer ...
    EXPECT_EQ(link.protocol.Reply(), std::vector<uint8_t>{0});
    link.emulator.Send({{Ms(0), "x"}});
    for (int i = 0; i < 300 && link.protocol.Reply().size() < 2; ++i) {
        std::this_thread::sleep_for(Ms(10));
    }
    // ... so what the reader sends next continues that reply in the trace.
    EXPECT_EQ(Received(), std::vector<std::string>{Piece({'x', 0, 0, 0})});
}

TEST_F(TraceViewerTest, ViewerPresenceIsRecheckedAndMustBeOurs) {
    // The presence check is reused for up to 100 ms; wait that out after each change.
    const auto settle = [] { std::this_thread::sleep_for(Ms(150)); };
    Trace("lost");  // no socket yet: nothing to send to, nothing fails
    BindViewer();
    EXPECT_TRUE(Received().empty());
    settle();
    Trace("seen");
    EXPECT_EQ(Received(), (std::vector<std::string>{"seen"}));

    if (getuid() != 0) {
        GTEST_SKIP() << "giving the socket to another user needs root";
    }
    const std::string path = TraceSocketPath();
    ASSERT_EQ(chown(path.c_str(), 4321, 4321), 0);
    settle();
    Trace("xyz");
    EXPECT_TRUE(Received().empty());
    ASSERT_EQ(chown(path.c_str(), getuid(), getgid()), 0);
    settle();
    Trace("xyz");
    EXPECT_EQ(Received().size(), 1u);
}

TEST_F(TraceViewerTest, SomethingElseAtThePathIsNotTheViewer) {
    BindViewer();
    // A link to the live socket is not the socket itself: lstat sees the link.
    const std::string path = TraceSocketPath();
    const std::string moved = m_dir + "/real";
    ASSERT_EQ(rename(path.c_str(), moved.c_str()), 0);
    ASSERT_EQ(symlink(moved.c_str(), path.c_str()), 0);
    Trace("abc");
    EXPECT_TRUE(Received().empty());
    unlink(path.c_str());
    ASSERT_EQ(rename(moved.c_str(), path.c_str()), 0);
}

class ReceivePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        CHookRecorder::Reset();
        SetUserInterface(&m_ui);
    }
    void TearDown() override {
        SetTickSource(nullptr);
        SetUserInterface(nullptr);
        s_protocol = nullptr;
    }

    // The hook checks that the byte is not yet in the reply buffer.
    static void CheckingHook(uint8_t byte) {
        const std::vector<uint8_t> reply = s_protocol->Reply();
        s_hookSawBufferWithout = s_hookSawBufferWithout && (reply.empty() || reply.back() != byte);
        CHookRecorder::Hook(byte);
    }

    static inline CTestProtocol* s_protocol = nullptr;
    static inline bool s_hookSawBufferWithout = true;
    CCountingUserInterface m_ui;
};

TEST_F(ReceivePathTest, HookSeesEachByteBeforeTheBufferDoes) {
    CTestProtocol protocol;
    s_protocol = &protocol;
    s_hookSawBufferWithout = true;
    protocol.m_pfnByteHook = &CheckingHook;
    const std::string bytes = Text({'1', '2', 0, '3', 0xC8});
    for (char c : bytes) {
        protocol.OnByteReceived(static_cast<uint8_t>(c));
    }
    EXPECT_TRUE(s_hookSawBufferWithout);
    EXPECT_EQ(CHookRecorder::Bytes(), bytes);
    EXPECT_EQ(protocol.Reply(), std::vector<uint8_t>(bytes.begin(), bytes.end()));

    protocol.m_pfnByteHook = nullptr;
    protocol.OnByteReceived('4');  // no hook: still stored
    EXPECT_EQ(protocol.Reply().size(), bytes.size() + 1);
    protocol.ClearReply();
    EXPECT_TRUE(protocol.Reply().empty());
}

TEST_F(ReceivePathTest, SilenceMustExceedTheTimeOut) {
    SetTickSource(&FakeTick);
    CTestProtocol protocol;
    protocol.m_timeoutMs = 50;
    g_fakeTick = 1000;
    protocol.OnByteReceived('x');  // the byte's arrival is the last activity
    g_fakeTick = 1050;
    EXPECT_FALSE(protocol.ReplyComplete());
    EXPECT_EQ(m_ui.pumps, 1);  // an idle step dispatches the UI's events
    g_fakeTick = 1051;
    EXPECT_TRUE(protocol.ReplyComplete());
    EXPECT_EQ(m_ui.pumps, 1);

    protocol.MarkActivity();
    EXPECT_FALSE(protocol.ReplyComplete());
    protocol.m_timeoutMs = 0;
    EXPECT_FALSE(protocol.ReplyComplete());  // the tick has not moved on
    g_fakeTick = 1052;
    EXPECT_TRUE(protocol.ReplyComplete());
}

TEST_F(ReceivePathTest, TickWrapAroundYieldsTheSmallDifference) {
    SetTickSource(&FakeTick);
    CTestProtocol protocol;
    protocol.m_timeoutMs = 30;
    g_fakeTick = 0xFFFFFFF0u;
    protocol.MarkActivity();
    g_fakeTick = 0x00000005u;  // 21 ms later
    EXPECT_FALSE(protocol.ReplyComplete());
    g_fakeTick = 0x0000000Fu;  // 31 ms later
    EXPECT_TRUE(protocol.ReplyComplete());

    g_fakeTick = 0xFFFFFFFFu;
    protocol.OnByteReceived('y');
    g_fakeTick = 0x0000001Du;  // 30 ms later: not yet
    EXPECT_FALSE(protocol.ReplyComplete());
}
}  // namespace
