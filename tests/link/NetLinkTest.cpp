// Network links: the address form, the Telnet layer, and the engine on the
// ports of a real ser2net (raw TCP and RFC 2217) in front of a
// pseudo-terminal, or of a scripted server that refuses what it is asked.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "LinkTestSupport.h"
#include "Ser2net.h"
#include "link/NetAddress.h"
#include "link/TelnetCodec.h"

namespace {

using Match = CDeviceIdentity::Match;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

std::string AllByteValues() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

TEST(NetAddress, ReadsBothKindsAndRefusesWhatIsMalformed) {
    CNetAddress address;
    ASSERT_TRUE(CNetAddress::Parse("rfc2217://door3.site:4001", address));
    EXPECT_EQ(address.kind, CNetAddress::Kind::Rfc2217);
    EXPECT_EQ(address.host, "door3.site");
    EXPECT_EQ(address.port, 4001);
    ASSERT_TRUE(CNetAddress::Parse("SOCKET://[fe80::1]:65535", address));
    EXPECT_EQ(address.kind, CNetAddress::Kind::Socket);
    EXPECT_EQ(address.host, "fe80::1");
    EXPECT_EQ(address.ToString(), "socket://[fe80::1]:65535");
    for (const char* bad : {"rfc2217://door3", "socket://:4001", "socket://host:0",
                            "socket://host:65536", "rfc2217://fe80::1:4001", "socket://[::1]4001",
                            "socket://host:40x1", "socket://ho st:4001", "tcp://host:4001"}) {
        EXPECT_FALSE(CNetAddress::Parse(bad, address)) << bad;
    }
    EXPECT_TRUE(CNetAddress::IsNetworkLink("rfc2217://door3"));
    EXPECT_FALSE(CNetAddress::IsNetworkLink("/dev/ttyUSB0"));
}

TEST(TelnetCodec, TakesCommandsOutOfDataSplitAnywhereAndAnswersOnlyRequests) {
    CTelnetCodec codec;
    const std::string greeting = codec.Greeting();
    EXPECT_EQ(greeting.substr(0, 3), Bytes({255, 251, 44}));  // WILL COM-PORT-OPTION
    // Data with a doubled IAC, an offer of echo (refused), the answer to our
    // binary request (not answered again), the baud rate's answer and a
    // modem-state notification; fed one byte at a time.
    const std::string stream = "A" + Bytes({255, 255}) + "B" + Bytes({255, 251, 1, 255, 253, 0}) +
                               Bytes({255, 250, 44, 101, 0, 0, 0x4B, 0, 255, 240}) + "C" +
                               Bytes({255, 250, 44, 107, 0x30, 255, 240, 255, 241}) + "D";
    std::vector<uint8_t> data;
    for (const char c : stream) {
        const uint8_t byte = static_cast<uint8_t>(c);
        codec.Decode(&byte, 1, data);
    }
    EXPECT_EQ(std::string(data.begin(), data.end()),
              "A\xFF"
              "BCD");
    EXPECT_EQ(codec.TakeReplies(), Bytes({255, 254, 1}));  // DONT ECHO, nothing else
    std::string value;
    ASSERT_TRUE(codec.Answer(CTelnetCodec::kSetBaudRate, value));
    EXPECT_EQ(value, CTelnetCodec::Value32(19200));
    EXPECT_EQ(codec.ModemState(), 0x30);
    EXPECT_FALSE(codec.ComPortAccepted());
    const uint8_t accept[] = {255, 253, 44};
    codec.Decode(accept, sizeof accept, data);
    EXPECT_TRUE(codec.ComPortAccepted());
    EXPECT_EQ(codec.TakeReplies(), "");
    // A value holding 0xFF goes out doubled.
    EXPECT_EQ(CTelnetCodec::Command(CTelnetCodec::kSetBaudRate, CTelnetCodec::Value32(0xFF00)),
              Bytes({255, 250, 44, 1, 0, 0, 255, 255, 0, 255, 240}));
}

// A TCP server on a free local port that answers each piece it receives.
class CScriptedServer {
public:
    using Answer = std::function<std::string(const std::string& piece)>;
    explicit CScriptedServer(Answer answer) : m_answer(std::move(answer)) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listen, 4);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CScriptedServer() {
        m_bStop = true;
        m_thread.join();
        ::close(m_listen);
    }
    std::string Address(const char* scheme) const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port);
    }

private:
    void Serve() {
        int client = -1;
        while (!m_bStop) {
            pollfd fd{client >= 0 ? client : m_listen, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) {
                continue;
            }
            if (client < 0) {
                client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                continue;
            }
            char buffer[1024];
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                break;
            }
            const std::string reply = m_answer(std::string(buffer, static_cast<size_t>(n)));
            ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
        if (client >= 0) {
            ::close(client);
        }
    }

    Answer m_answer;
    int m_listen = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// Takes the COM port option and answers every setting with its value, but
// keeps its baud rate at 9600.
std::string HoldsItsBaudRate(const std::string& piece) {
    std::string reply;
    if (piece.find(Bytes({255, 251, 44})) != std::string::npos) {
        reply += Bytes({255, 253, 44});
    }
    const std::string begin = Bytes({255, 250, 44});
    const std::string end = Bytes({255, 240});
    for (size_t at = piece.find(begin); at != std::string::npos; at = piece.find(begin, at + 1)) {
        const size_t stop = piece.find(end, at);
        const uint8_t command = static_cast<uint8_t>(piece[at + 3]);
        const std::string value = command == CTelnetCodec::kSetBaudRate
                                      ? CTelnetCodec::Value32(9600)
                                      : piece.substr(at + 4, stop - at - 4);
        reply += begin + static_cast<char>(command + 100) + value + end;
    }
    return reply;
}

TEST(NetLinkRefusal, ARefusedOptionOrSettingOpensTheLinkAndSaysWhich) {
    struct Case {
        const char* name;
        CScriptedServer::Answer answer;
        NetSetting setting;
        uint32_t requested;
        uint32_t held;
        bool unanswered;
    };
    const Case cases[] = {
        {"refuses the option",
         [](const std::string&) {
             return Bytes({255, 254, 44});
         },
         NetSetting::ComPortOption, 0, 0, false},
        {"keeps 9600", &HoldsItsBaudRate, NetSetting::BaudRate, 19200, 9600, false},
        {"raw TCP port", [](const std::string&) { return std::string(); },
         NetSetting::ComPortOption, 0, 0, true},
    };
    for (const Case& c : cases) {
        CScopedEntries entries;
        CScriptedServer server(c.answer);
        entries.Set(45, server.Address("rfc2217"));
        CRecordingEngine engine;
        EXPECT_TRUE(engine.OpenDefault("COM45")) << c.name;
        EXPECT_TRUE(engine.StartMonitoring()) << c.name;
        const CLinkFailure& failure = engine.LastOpenFailure();
        EXPECT_EQ(failure.kind, LinkFailureKind::ConfigurationRefused) << c.name;
        EXPECT_EQ(failure.setting, c.setting) << c.name;
        EXPECT_EQ(failure.requested, c.requested) << c.name;
        EXPECT_EQ(failure.held, c.held) << c.name;
        EXPECT_EQ(failure.unanswered, c.unanswered) << c.name;
        EXPECT_EQ(failure.device, server.Address("rfc2217")) << c.name;
    }
}

// A listening socket whose queue is full: further connects get no answer.
class CSilentHost {
public:
    CSilentHost() {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listen, 0);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 3; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
            m_fillers.push_back(fd);
        }
        std::this_thread::sleep_for(100ms);
    }
    ~CSilentHost() {
        for (const int fd : m_fillers) {
            ::close(fd);
        }
        ::close(m_listen);
    }
    uint16_t Port() const { return m_port; }

private:
    int m_listen = -1;
    uint16_t m_port = 0;
    std::vector<int> m_fillers;
};

TEST(NetLinkFailure, AddressNameRefusalAndSilenceEachHaveTheirReason) {
    CScopedEntries entries;
    CDebugCapture debug;
    CRecordingEngine engine;
    const uint16_t closed = CSer2net::FreePort();
    const std::string refused = "socket://127.0.0.1:" + std::to_string(closed);
    entries.Set(41, "rfc2217://door3");
    entries.Set(42, "socket://nonexistent.invalid:4001");
    entries.Set(43, refused);
    EXPECT_FALSE(engine.OpenDefault("COM41"));
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::BadAddress);
    EXPECT_FALSE(engine.OpenDefault("COM42"));
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::NameNotResolved);
    EXPECT_FALSE(engine.OpenDefault("COM43"));
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::ConnectionRefused);
    EXPECT_EQ(engine.LastOpenFailure().port, "COM43");
    EXPECT_TRUE(debug.Contains("Open COM43 (" + refused +
                               ") failed: connection refused (Connection refused)"));
    // Named directly, an address is its own port name.
    EXPECT_FALSE(engine.OpenDefault(refused));
    EXPECT_EQ(engine.LastOpenFailure().port, refused);

    CSilentHost silent;
    entries.Set(44, "socket://127.0.0.1:" + std::to_string(silent.Port()));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(engine.OpenDefault("COM44"));
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::NoAnswer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
}

class NetLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CSer2net::Installed()) {
            GTEST_SKIP() << "ser2net is not installed";
        }
        ASSERT_TRUE(m_pty.IsValid());
        m_ser2net = std::make_unique<CSer2net>(m_pty.PortPath());
        ASSERT_TRUE(m_ser2net->Start()) << m_ser2net->Log();
        m_entries.Set(41, m_ser2net->SocketAddress());
        m_entries.Set(42, m_ser2net->Rfc2217Address());
    }

    CScopedEntries m_entries;
    CPtyPair m_pty;
    std::unique_ptr<CSer2net> m_ser2net;
};

TEST_F(NetLinkTest, EveryByteCrossesExactlyAndRfc2217SetsTheBaudRate) {
    const std::string all = AllByteValues();
    for (const auto& [name, baud, speed] :
         {std::tuple{"COM41", 38400u, B19200}, std::tuple{"COM42", 38400u, B38400}}) {
        CRecordingEngine engine;
        ASSERT_TRUE(engine.Open(name, baud, 'N', 8, 1, 0, 9, 15000)) << name;
        EXPECT_FALSE(engine.LastOpenFailure().Failed()) << name;
        ASSERT_TRUE(engine.StartMonitoring());
        ASSERT_TRUE(m_pty.Send(all));
        EXPECT_TRUE(engine.WaitForBytes(all.size(), 3s)) << name;
        EXPECT_EQ(engine.Received(), all) << name;
        ASSERT_TRUE(engine.Write(all.data(), static_cast<uint32_t>(all.size())));
        EXPECT_EQ(m_pty.Receive(all.size(), 3s), all) << name;
        // The server's port side, read back where the reader hangs.
        termios tio{};
        ASSERT_EQ(::tcgetattr(m_pty.MasterFd(), &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), speed) << name;
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t{CS8}) << name;
        engine.Close();
    }
}

TEST_F(NetLinkTest, ASecondClientIsTurnedAwayWithTheServersWords) {
    CRecordingEngine first;
    ASSERT_TRUE(first.OpenDefault("COM42"));
    for (const char* name : {"COM42", "COM41"}) {
        CRecordingEngine second;
        EXPECT_FALSE(second.OpenDefault(name)) << name;
        const CLinkFailure& failure = second.LastOpenFailure();
        EXPECT_EQ(failure.kind, LinkFailureKind::ServerBusy) << name;
        EXPECT_NE(failure.detail.find("in use"), std::string::npos) << failure.detail;
    }
}

TEST_F(NetLinkTest, AStoppedServerIsOneHangUpAndItsReturnIsSeenWithoutBlocking) {
    CRecordingEngine engine;
    ASSERT_TRUE(engine.OpenDefault("COM41"));
    ASSERT_TRUE(engine.StartMonitoring());
    EXPECT_EQ(engine.OpenedDevicePresence(), Match::Same);  // open: no probe
    m_ser2net->Stop();
    EXPECT_TRUE(engine.WaitUntil([&] { return engine.IsDeviceGone(); }, 3s));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(engine.LineErrors(), std::vector<uint32_t>{kErrDeviceGone});
    engine.Close();
    EXPECT_EQ(engine.OpenedDevicePresence(), Match::Absent);

    ASSERT_TRUE(m_ser2net->Start());
    const auto start = std::chrono::steady_clock::now();
    Match presence = Match::Absent;
    while (presence != Match::Same && std::chrono::steady_clock::now() - start < 10s) {
        std::this_thread::sleep_for(250ms);
        const auto before = std::chrono::steady_clock::now();
        presence = engine.OpenedDevicePresence();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    }
    EXPECT_EQ(presence, Match::Same);
    ASSERT_TRUE(engine.OpenDefault("COM41")) << engine.LastOpenFailure().DebugText();
}

}  // namespace
