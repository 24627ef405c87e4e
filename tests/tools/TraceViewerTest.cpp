#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>

#include "protocol/Trace.h"
#include "tools/tracer/TraceAssembler.h"
#include "tools/tracer/TraceReceiver.h"

using namespace std::chrono_literals;

namespace {

std::string Piece(const char (&bytes)[5]) {
    return std::string(bytes, 4);
}

std::string FeedPieces(CTraceAssembler& assembler, std::initializer_list<std::string> pieces) {
    std::string text;
    for (const std::string& piece : pieces) {
        text += assembler.Feed(piece.data(), piece.size());
    }
    return text;
}

TEST(TraceAssembler, PiecesJoinIntoTexts) {
    CTraceAssembler assembler;
    // The header in two pieces (the second carries the zero), a byte, a four-character text
    // without a zero, and a piece whose bytes after the zero mean nothing.
    EXPECT_EQ(FeedPieces(assembler, {Piece("\nRea"), Piece("d: \0"), Piece("A\0\0\0"),
                                     Piece("<0d>"), Piece("x\0zz")}),
              "\nRead: A<0d>x");
    EXPECT_EQ(assembler.TextsEnded(), 3u);
    // The value form: first character in the low byte.
    EXPECT_EQ(assembler.Feed(std::uint32_t{0x00000A42}), "B\n");
}

TEST(TraceAssembler, UnsafeBytesAreShownInHexAndOddDatagramsIgnored) {
    CTraceAssembler assembler;
    EXPECT_EQ(FeedPieces(assembler, {Piece("\x1b[2J"), Piece("\r\x7f\xe4\t")}),
              "<1b>[2J<0d><7f><e4>\t");
    EXPECT_EQ(FeedPieces(assembler, {"abc", "abcde", ""}), "");
    EXPECT_EQ(assembler.Ignored(), 3u);
}

class TraceReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvane-trace-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/MeridelTracer";
    }
    void TearDown() override {
        ::unlink(m_path.c_str());
        ::rmdir(m_dir.c_str());
    }

    std::string m_dir;
    std::string m_path;
};

TEST_F(TraceReceiverTest, BindsPrivateSocketAndRemovesItOnClose) {
    CTraceReceiver receiver;
    ASSERT_TRUE(receiver.Bind(m_path)) << receiver.Error();
    struct stat info {};
    ASSERT_EQ(::lstat(m_path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A second viewer does not steal the socket of a running one.
    CTraceReceiver second;
    EXPECT_FALSE(second.Bind(m_path));
    EXPECT_NE(second.Error().find("another trace viewer"), std::string::npos);

    receiver.Close();
    EXPECT_NE(::lstat(m_path.c_str(), &info), 0);
    receiver.Close();
}

TEST_F(TraceReceiverTest, StaleSocketIsReplacedButOtherFilesAreNot) {
    // A socket file whose viewer is gone.
    const int stale = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, m_path.c_str());
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    CTraceReceiver receiver;
    EXPECT_TRUE(receiver.Bind(m_path)) << receiver.Error();
    receiver.Close();

    std::ofstream(m_path) << "notes";
    EXPECT_FALSE(receiver.Bind(m_path));
    std::ifstream file(m_path);
    std::string content;
    file >> content;
    EXPECT_EQ(content, "notes");

    EXPECT_FALSE(receiver.Bind(m_dir + "/" + std::string(120, 'x')));
}

TEST_F(TraceReceiverTest, ReassemblesWhatTheProgramTraces) {
    const char* previous = ::getenv("XDG_RUNTIME_DIR");
    const std::string saved = previous != nullptr ? previous : "";
    ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    ASSERT_EQ(TraceSocketPath(), m_path);
    CTraceReceiver receiver;
    ASSERT_TRUE(receiver.Bind(m_path)) << receiver.Error();

    Trace("\nRead: ");
    Trace("%c", 'A');
    Trace("<%02x>", 0x0d);
    Trace("<%02x>", 0x0a);
    Trace("%c", '\n');
    CTraceAssembler assembler;
    std::string text;
    unsigned char piece[16];
    for (long n = 0; (n = receiver.Receive(piece, sizeof piece, 500ms)) > 0;) {
        text += assembler.Feed(piece, static_cast<std::size_t>(n));
        if (text.size() >= 17) {
            break;
        }
    }
    EXPECT_EQ(text, "\nRead: A<0d><0a>\n");

    // Pieces the full queue refuses are announced, where they were lost, before the next one.
    constexpr int kTexts = 2000;
    for (int i = 0; i < kTexts; ++i) {
        Trace("%c", 'a');
    }
    std::string queued;
    for (long n = 0; (n = receiver.Receive(piece, sizeof piece, 0ms)) > 0;) {
        queued += assembler.Feed(piece, static_cast<std::size_t>(n));
    }
    Trace("%c", 'Z');
    std::string after;
    for (long n = 0; (n = receiver.Receive(piece, sizeof piece, 500ms)) > 0;) {
        after += assembler.Feed(piece, static_cast<std::size_t>(n));
        if (after.back() == 'Z') {
            break;
        }
    }
    ASSERT_LT(queued.size(), static_cast<std::size_t>(kTexts));
    EXPECT_EQ(queued, std::string(queued.size(), 'a'));
    EXPECT_EQ(after, "\n[" + std::to_string(kTexts - queued.size()) + " Bytes verworfen]\nZ");

    if (previous != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

}  // namespace
