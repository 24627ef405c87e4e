#include <gtest/gtest.h>
#include <termios.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "LinkTestSupport.h"
#include "link/GroupAccess.h"

namespace {

constexpr const char* kPortName = "COM40";

class SerialEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.IsValid());
        m_entries.Set(40, m_pty.PortPath());
    }

    // Opens COM40 and starts the monitor thread.
    void Connect(CRecordingEngine& engine, uint32_t writeBufferSize = 15000) {
        ASSERT_TRUE(engine.OpenDefault(kPortName, writeBufferSize));
        ASSERT_TRUE(engine.StartMonitoring());
    }

    CPtyPair m_pty;
    CScopedEntries m_entries;
    CRecordingEngine m_engine;
};

TEST_F(SerialEngineTest, DeliversEveryByteOnceInOrderOnTheMonitorThread) {
    Connect(m_engine);
    ASSERT_TRUE(m_pty.Send("ABC"));
    ASSERT_TRUE(m_engine.WaitForBytes(3, 3s));
    EXPECT_EQ(m_engine.Received(), "ABC");

    // A long stream in uneven pieces: nothing lost, doubled or reordered,
    // including zero bytes and 0xFF.
    std::string stream;
    std::mt19937 random(7);
    for (int i = 0; i < 60000; ++i) {
        stream.push_back(static_cast<char>(random() & 0xFF));
    }
    for (size_t at = 0; at < stream.size(); at += 7001) {
        ASSERT_TRUE(m_pty.Send(stream.substr(at, 7001)));
    }
    ASSERT_TRUE(m_engine.WaitForBytes(3 + stream.size(), 10s));
    EXPECT_TRUE(m_engine.Received() == "ABC" + stream);
    EXPECT_TRUE(m_engine.BytesCameOnOneOtherThread());
}

TEST_F(SerialEngineTest, WriteSendsTextWithoutItsZeroByteAndEmptyWriteOnlyReportsTxEmpty) {
    Connect(m_engine);
    ASSERT_TRUE(m_engine.Write("P\x01z", CSerialEngine::kWholeText));
    EXPECT_EQ(m_pty.Receive(3, 3s), "P\x01z");
    EXPECT_EQ(m_pty.Receive(1, 100ms), "");  // no zero byte after them
    ASSERT_TRUE(m_engine.WaitUntil([&] { return m_engine.BytesWritten().size() == 1; }, 3s));
    EXPECT_EQ(m_engine.BytesWritten().front(), 3u);

    const int txEmptyBefore = m_engine.TxEmptyCount();
    ASSERT_TRUE(m_engine.Write("ignored", 0));
    ASSERT_TRUE(m_engine.WaitUntil([&] { return m_engine.TxEmptyCount() > txEmptyBefore; }, 3s));
    EXPECT_EQ(m_pty.Receive(1, 100ms), "");
    EXPECT_EQ(m_engine.BytesWritten().size(), 1u);

    // Explicit lengths carry zero bytes.
    ASSERT_TRUE(m_engine.Write("a\0b", 3));
    EXPECT_EQ(m_pty.Receive(3, 3s), std::string("a\0b", 3));
}

TEST_F(SerialEngineTest, RequestLargerThanTheWriteBufferIsRefusedWhole) {
    Connect(m_engine, 16);
    const std::string tooLong(17, 'x');
    EXPECT_FALSE(m_engine.Write(tooLong.c_str(), CSerialEngine::kWholeText));
    EXPECT_FALSE(m_engine.Write(tooLong.data(), 17));
    EXPECT_EQ(m_pty.Receive(1, 100ms), "");
    const std::string fits(16, 'y');
    ASSERT_TRUE(m_engine.Write(fits.data(), 16));
    EXPECT_EQ(m_pty.Receive(16, 3s), fits);
}

TEST_F(SerialEngineTest, WriteLargerThanThePortTakesAtOnceArrivesWhole) {
    Connect(m_engine, 200000);
    // More than a pseudo-terminal buffers: the engine has to go on with the
    // rest whenever the port becomes writable again.
    std::string request(150000, '\0');
    for (size_t i = 0; i < request.size(); ++i) {
        request[i] = static_cast<char>('a' + i % 26);
    }
    ASSERT_TRUE(m_engine.Write(request.data(), static_cast<uint32_t>(request.size())));
    std::this_thread::sleep_for(50ms);  // let the port fill up first
    EXPECT_EQ(m_pty.Receive(request.size(), 5s), request);
    ASSERT_TRUE(m_engine.WaitUntil([&] { return !m_engine.BytesWritten().empty(); }, 3s));
    EXPECT_EQ(m_engine.BytesWritten(), std::vector<uint32_t>{150000});
}

TEST_F(SerialEngineTest, MonitoringStartsOncePerOpen) {
    EXPECT_FALSE(m_engine.StartMonitoring());  // nothing open
    Connect(m_engine);
    EXPECT_FALSE(m_engine.StartMonitoring());
    m_engine.Close();
    EXPECT_FALSE(m_engine.IsOpen());
    Connect(m_engine);
    ASSERT_TRUE(m_pty.Send("x"));
    EXPECT_TRUE(m_engine.WaitForBytes(1, 3s));
}

TEST_F(SerialEngineTest, MissingPortLeavesTheEngineClosedAndSaysWhy) {
    CDebugCapture debug;
    m_entries.Set(41, "/nonexistent/ttyX");
    EXPECT_FALSE(m_engine.OpenDefault("COM41"));
    EXPECT_FALSE(m_engine.IsOpen());
    EXPECT_FALSE(m_engine.StartMonitoring());
    EXPECT_FALSE(m_engine.Write("P", CSerialEngine::kWholeText));
    m_engine.Close();
    m_engine.Close();
    EXPECT_FALSE(m_engine.IsOpen());
    CLinkFailure failure = m_engine.LastOpenFailure();
    EXPECT_EQ(failure.kind, LinkFailureKind::NotPresent);
    EXPECT_EQ(failure.port, "COM41");
    EXPECT_EQ(failure.device, "/nonexistent/ttyX");
    EXPECT_TRUE(debug.Contains(
        "Open COM41 (/nonexistent/ttyX) failed: not present (No such file or directory)"));
    // A number that stands for nothing.
    EXPECT_FALSE(m_engine.OpenDefault("COM199 [Leser]"));
    EXPECT_EQ(m_engine.LastOpenFailure().kind, LinkFailureKind::NotPresent);
    EXPECT_EQ(m_engine.LastOpenFailure().port, "COM199");
    // A regular file is no port either.
    m_entries.Set(42, "/proc/self/status");
    EXPECT_FALSE(m_engine.OpenDefault("COM42"));
    EXPECT_FALSE(m_engine.IsOpen());
    EXPECT_EQ(m_engine.LastOpenFailure().kind, LinkFailureKind::NotSerialPort);
    // A clean open leaves nothing to say.
    Connect(m_engine);
    EXPECT_FALSE(m_engine.LastOpenFailure().Failed());
    EXPECT_EQ(m_engine.LastOpenFailure().device, m_pty.PortPath());
}

TEST_F(SerialEngineTest, PortHeldByAnotherProgramNamesIt) {
    CHeldPort holder(m_pty.PortPath(), "orvholder");
    ASSERT_NE(holder.Pid(), 0);
    EXPECT_FALSE(m_engine.OpenDefault(kPortName));
    const CLinkFailure& failure = m_engine.LastOpenFailure();
    EXPECT_EQ(failure.kind, LinkFailureKind::InUse);
    EXPECT_EQ(failure.device, m_pty.PortPath());
    EXPECT_EQ(failure.holderPid, holder.Pid());
    EXPECT_EQ(failure.holderName, "orvholder");
    EXPECT_TRUE(failure.holderLocks);
}

TEST_F(SerialEngineTest, PermissionDeniedNamesTheGroupAndTheUsersMembership) {
    const std::string port = m_pty.PortPath();
    struct stat info {};
    ASSERT_EQ(::stat(port.c_str(), &info), 0);
    const struct group* owner = ::getgrgid(info.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string group = owner->gr_name;
    ASSERT_EQ(::chmod(port.c_str(), 0), 0);
    // A name service in which the user (nobody, or the one running the tests)
    // is a member of the device's group, which the session does not have.
    const gid_t gid = info.st_gid;
    const auto member = [gid](const std::string&, gid_t primary) {
        return std::vector<gid_t>{primary, gid};
    };

    const std::string answer = RunInChild(
        [&] {
            CRecordingEngine engine;
            if (engine.OpenDefault(kPortName)) {
                return std::string("opened");
            }
            const CLinkFailure& failure = engine.LastOpenFailure();
            const CGroupAccess listed = CGroupAccess::Of(port, member);
            return std::to_string(static_cast<int>(failure.kind)) + " " + failure.group + " " +
                   failure.userName + " " + std::to_string(failure.userInGroup) +
                   std::to_string(failure.sessionInGroup) + " " +
                   std::to_string(listed.userInGroup) + std::to_string(listed.sessionInGroup) +
                   " " + std::to_string(failure.mode) + std::to_string(failure.groupGrantsAccess);
        },
        true);
    if (answer == "skip") {
        GTEST_SKIP() << "no user without privileges to open the port as";
    }
    const bool asNobody = ::geteuid() == 0;
    const std::string kind = std::to_string(static_cast<int>(LinkFailureKind::PermissionDenied));
    if (asNobody) {
        EXPECT_EQ(answer, kind + " " + group + " nobody 00 10 00");
    } else {
        EXPECT_EQ(answer.substr(0, kind.size() + group.size() + 1), kind + " " + group);
        EXPECT_EQ(answer.substr(answer.size() - 5, 1), "1");
    }
}

// Joining a group helps only when the group may read and write the device
// and is not root's.
TEST(GroupAccess, OnlyAGroupThatMayReadAndWriteIsARemedy) {
    const std::string file = std::filesystem::temp_directory_path() / "orvane-group-access";
    std::ofstream(file) << "";
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    const auto none = [](const std::string&, gid_t) { return std::vector<gid_t>{}; };
    for (const auto& [gid, mode] : {std::pair<gid_t, mode_t>{info.st_gid, 0660},
                                    {info.st_gid, 0600},
                                    {info.st_gid, 0640},
                                    {0, 0660}}) {
        if (gid == info.st_gid || ::chown(file.c_str(), 0, gid) == 0) {
            ASSERT_EQ(::chmod(file.c_str(), mode), 0);
            const CGroupAccess access = CGroupAccess::Of(file, none);
            EXPECT_EQ(access.groupGrantsAccess, mode == 0660 && gid != 0) << std::oct << mode;
            EXPECT_EQ(access.mode, mode);
        }
    }
    std::filesystem::remove(file);
    // Without a lookup the name service answers: the user is in its primary group.
    const passwd* self = ::getpwuid(::geteuid());
    const auto groups = CGroupAccess::GroupsFromNameService(self->pw_name, self->pw_gid);
    EXPECT_NE(std::find(groups.begin(), groups.end(), self->pw_gid), groups.end());
}

TEST_F(SerialEngineTest, PortHeldByOneEngineDoesNotOpenInAnother) {
    Connect(m_engine);
    CRecordingEngine second;
    EXPECT_FALSE(second.OpenDefault(kPortName));
    EXPECT_FALSE(second.IsOpen());
    // The holder keeps working.
    ASSERT_TRUE(m_pty.Send("k"));
    EXPECT_TRUE(m_engine.WaitForBytes(1, 3s));

    m_engine.Close();
    EXPECT_TRUE(second.OpenDefault(kPortName));
    EXPECT_TRUE(second.StartMonitoring());
}

TEST_F(SerialEngineTest, ReopeningAnOpenEngineSwitchesPorts) {
    Connect(m_engine);
    CPtyPair other;
    m_entries.Set(43, other.PortPath());
    // The old thread has left its loop but is still held: monitoring needs a
    // Close first, as the view does it.
    ASSERT_TRUE(m_engine.OpenDefault("COM43"));
    EXPECT_FALSE(m_engine.StartMonitoring());
    m_engine.Close();
    ASSERT_TRUE(m_engine.OpenDefault("COM43"));
    ASSERT_TRUE(m_engine.StartMonitoring());
    ASSERT_TRUE(other.Send("o"));
    EXPECT_TRUE(m_engine.WaitForBytes(1, 3s));
    // The first port was released.
    CRecordingEngine second;
    EXPECT_TRUE(second.OpenDefault(kPortName));
}

TEST_F(SerialEngineTest, RejectedSettingStillOpensWithAWarningInRawMode) {
    // The terminal starts cooked, as a port nobody configured does.
    termios tio{};
    ASSERT_EQ(::tcgetattr(m_pty.MasterFd(), &tio), 0);
    tio.c_lflag |= ICANON | ECHO;
    ASSERT_EQ(::tcsetattr(m_pty.MasterFd(), TCSANOW, &tio), 0);

    CDebugCapture debug;
    ASSERT_TRUE(m_engine.Open(kPortName, 12345, 'N', 8, 1, 0, 9, 100));
    EXPECT_TRUE(debug.Contains(
        "WARNING:  SetCommState() Failed with the following error: \nInvalid argument\nPort: "
        "COM40\n"));
    // No echo and no line buffering, although the line settings failed.
    ASSERT_EQ(::tcgetattr(m_pty.MasterFd(), &tio), 0);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(m_engine.LastOpenFailure().kind, LinkFailureKind::ConfigurationRefused);
    EXPECT_EQ(m_engine.LastOpenFailure().step, "SetCommState()");
    ASSERT_TRUE(m_engine.StartMonitoring());
    ASSERT_TRUE(m_pty.Send("ok"));
    EXPECT_TRUE(m_engine.WaitForBytes(2, 3s));
}

TEST_F(SerialEngineTest, UnparsableLineDefinitionWarnsWithTheLabelAsGiven) {
    CDebugCapture debug;
    ASSERT_TRUE(m_engine.Open("com40 [Leser]", 19200, 'N', 9, 1, 0, 9, 100));
    EXPECT_TRUE(debug.Contains(
        "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: "
        "com40 [Leser]\n"));
    EXPECT_EQ(debug.Lines().size(), 1u);
    EXPECT_TRUE(m_engine.IsOpen());
}

TEST_F(SerialEngineTest, ReopeningWhileTheMonitorThreadWarnsIsRaceFree) {
    Connect(m_engine);
    m_pty.HangUp();
    ASSERT_TRUE(m_engine.WaitUntil([&] { return !m_engine.LineErrors().empty(); }, 3s));
    // The failed write makes the monitor thread warn with the port's label;
    // Open may replace the label only once that thread has stopped.
    ASSERT_TRUE(m_engine.Write("P", CSerialEngine::kWholeText));
    std::this_thread::sleep_for(50ms);
    CPtyPair other;
    m_entries.Set(43, other.PortPath());
    EXPECT_TRUE(m_engine.OpenDefault("COM43"));
}

TEST_F(SerialEngineTest, EveryHandshakeModeOpensAndCarriesBytes) {
    for (unsigned mode : {0u, 1u, 2u, 3u, 9u}) {
        SCOPED_TRACE(mode);
        CDebugCapture debug;
        CRecordingEngine engine;
        // Pseudo-terminals keep 8 data bits without parity; other framing would
        // be refused there.
        ASSERT_TRUE(engine.Open(kPortName, 115200, 'N', 8, 2, mode, 9, 100));
        EXPECT_TRUE(debug.Lines().empty()) << debug.Lines().front();
        ASSERT_TRUE(engine.StartMonitoring());
        ASSERT_TRUE(engine.Write("hi", CSerialEngine::kWholeText));
        EXPECT_EQ(m_pty.Receive(2, 3s), "hi");
    }
}

TEST_F(SerialEngineTest, HangUpIsReportedOnceAndDoesNotSpin) {
    // The port behind a stable link, as /dev/serial/by-id names an adapter.
    const std::string link =
        std::filesystem::temp_directory_path() / ("orvane-by-id-" + std::to_string(::getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink(m_pty.PortPath(), link);
    m_entries.Set(40, link);
    Connect(m_engine);
    EXPECT_EQ(m_engine.OpenedDevicePresence(), CDeviceIdentity::Match::Same);
    EXPECT_FALSE(m_engine.IsDeviceGone());
    ASSERT_TRUE(m_pty.Send("z"));
    ASSERT_TRUE(m_engine.WaitForBytes(1, 3s));
    m_pty.HangUp();
    ASSERT_TRUE(m_engine.WaitUntil([&] { return !m_engine.LineErrors().empty(); }, 3s));

    // A spinning thread would use about the whole wall time.
    const std::optional<double> share = m_engine.MonitorCpuShare(300ms);
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, 0.25);
    EXPECT_EQ(m_engine.LineErrors(), std::vector<uint32_t>{0x800});
    EXPECT_TRUE(m_engine.IsDeviceGone());

    // Writing to the gone device fails quietly (a warning), no second report.
    EXPECT_TRUE(m_engine.Write("P", CSerialEngine::kWholeText));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(m_engine.LineErrors().size(), 1u);

    const auto closeStart = std::chrono::steady_clock::now();
    m_engine.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - closeStart, 3s);
    EXPECT_FALSE(m_engine.IsOpen());
    // Absent, or another device if a new pseudo-terminal took the freed number.
    EXPECT_NE(m_engine.OpenedDevicePresence(), CDeviceIdentity::Match::Same);

    // The device comes back behind the same link; the next Open starts afresh.
    CPtyPair fresh;
    std::filesystem::remove(link);
    std::filesystem::create_symlink(fresh.PortPath(), link);
    EXPECT_EQ(m_engine.OpenedDevicePresence(), CDeviceIdentity::Match::Same);
    Connect(m_engine);
    EXPECT_FALSE(m_engine.IsDeviceGone());
    std::filesystem::remove(link);
    ASSERT_TRUE(fresh.Send("again"));
    ASSERT_TRUE(m_engine.WaitForBytes(6, 3s));
    EXPECT_EQ(m_engine.Received(), "zagain");
}

TEST_F(SerialEngineTest, SilentLinkCostsLittleCpu) {
    Connect(m_engine);
    ASSERT_TRUE(m_engine.Write("", 0));  // a hook call tells which thread is the monitor
    ASSERT_TRUE(m_engine.WaitUntil([&] { return m_engine.TxEmptyCount() > 0; }, 3s));
    // The goal is well under 1 %; bound it loosely on a shared machine.
    const std::optional<double> share = m_engine.MonitorCpuShare(400ms);
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, 0.1);
}

TEST(SerialEngineNames, NormalizePortNameTellsComPortsFromSerialNumbers) {
    struct Case {
        const char* in;
        bool com;
        const char* out;
    };
    const Case cases[] = {
        {"COM3", true, "\\\\.\\COM3"},
        {"com12 [Reader]", true, "\\\\.\\COM12"},
        {"\\\\.\\COM7", true, "\\\\.\\COM7"},
        {"\\\\.\\cOm255x", true, "\\\\.\\COM255"},
        {"COM0", false, "COM0"},
        {"COMX", false, "COMX"},
        {"COM", false, "COM"},
        {"FT4XYZ", false, "FT4XYZ"},
        {"\\\\.\\FT4XYZ", false, "\\\\.\\FT4XYZ"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string name = c.in;
        EXPECT_EQ(CSerialEngine::NormalizePortName(name), c.com) << c.in;
        EXPECT_EQ(name, c.out) << c.in;
    }
}

TEST(SerialEngineNames, NumberWithoutAnyPortDoesNotOpen) {
    CScopedEntries entries;
    CRecordingEngine engine;
    // Beyond the COM table's range, and a number nothing stands for.
    EXPECT_FALSE(engine.OpenDefault("COM256"));
    EXPECT_FALSE(engine.OpenDefault("COM199"));
    EXPECT_FALSE(engine.IsOpen());
}

}  // namespace
