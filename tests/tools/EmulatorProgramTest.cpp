#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "TestPort.h"
#include "tools/emulator/EmulatorCommandLine.h"
#include "tools/emulator/EmulatorConsole.h"
#include "tools/emulator/ReaderEmulator.h"
#include "tools/emulator/RequestLog.h"

using namespace std::chrono_literals;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

TEST(EmulatorCommandLine, ReadsEveryOption) {
    CEmulatorCommandLine commandLine;
    ASSERT_TRUE(commandLine.Parse({"--model", "extended", "--records=250", "--baud", "19200",
                                   "--progress-us", "0", "--reset-ms=50", "--pause-ms", "900",
                                   "--request-timeout-ms", "300", "--link", "/tmp/x", "--log",
                                   "/tmp/y", "--fault", "missing-end"}))
        << commandLine.Error();
    const EmulatorOptions& options = commandLine.Options();
    EXPECT_EQ(options.model, ReaderModel::Extended);
    EXPECT_EQ(options.seedRecords, 250u);
    EXPECT_EQ(options.baudRate, 19200u);
    EXPECT_EQ(options.progressInterval, 0us);
    EXPECT_EQ(options.resetDelay, 50ms);
    EXPECT_EQ(options.faultPause, 900ms);
    EXPECT_EQ(options.requestTimeout, 300ms);
    EXPECT_EQ(options.linkPath, "/tmp/x");
    EXPECT_EQ(commandLine.LogPath(), "/tmp/y");
    EXPECT_EQ(commandLine.Fault(), EmulatorFault::MissingEnd);
    EXPECT_FALSE(commandLine.HelpWanted());

    CEmulatorCommandLine help;
    EXPECT_TRUE(help.Parse({"--help"}));
    EXPECT_TRUE(help.HelpWanted());
    const std::string usage = CEmulatorCommandLine::Usage("orvane-emulator");
    for (const char* option : {"--model", "--records", "--baud", "--progress-us", "--link", "--log",
                               "--fault", "--help"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(EmulatorCommandLine, RefusesBadArguments) {
    const std::vector<std::vector<std::string>> bad{{"--model", "deluxe"},
                                                    {"--records", "-1"},
                                                    {"--records", "12x"},
                                                    {"--baud", "5000000"},
                                                    {"--baud"},
                                                    {"--fault", "sometimes"},
                                                    {"--link="},
                                                    {"--request-timeout-ms=0"},
                                                    {"--verbose"},
                                                    {"extended"},
                                                    {"--records", "99999999999999"}};
    for (const auto& args : bad) {
        CEmulatorCommandLine commandLine;
        EXPECT_FALSE(commandLine.Parse(args)) << args[0];
        EXPECT_FALSE(commandLine.Error().empty());
    }
}

TEST(EmulatorRequestLog, RequestsAreEscapedAndNamed) {
    EXPECT_EQ(CRequestLog::RequestText("S071226140509", true),
              "request \"S071226140509\" (set clock)");
    EXPECT_EQ(CRequestLog::RequestText("W\r\n12\r\nX", true),
              "request \"W<0d><0a>12<0d><0a>X\" (write keys)");
    EXPECT_EQ(CRequestLog::RequestText("\xC8", true), "request \"<c8>\" (memory test)");
    EXPECT_EQ(CRequestLog::RequestText("<", true), "request \"<3c>\" (unknown)");
    EXPECT_EQ(CRequestLog::RequestText("H0", false), "incomplete request dropped \"H0\"");
}

TEST(EmulatorConsole, CommandsActOnTheEmulator) {
    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    CReaderEmulator emulator(options);
    ASSERT_TRUE(emulator.Start());
    CEmulatorConsole console(emulator);
    EXPECT_EQ(console.Execute("   "), "");
    EXPECT_EQ(console.Execute("badge 12ab"), "badge 12ab presented");
    EXPECT_EQ(emulator.RecordCount(), 1u);
    EXPECT_NE(console.Execute("badge xyz").find("invalid key number"), std::string::npos);
    EXPECT_EQ(console.Execute("fault wrong-echo"), "fault wrong-echo");
    EXPECT_EQ(emulator.Fault(), EmulatorFault::WrongEcho);
    EXPECT_NE(console.Execute("fault often").find("unknown fault"), std::string::npos);
    EXPECT_EQ(emulator.Fault(), EmulatorFault::WrongEcho);
    const std::string status = console.Execute("status");
    EXPECT_NE(status.find("extended model, 1 records"), std::string::npos) << status;
    EXPECT_NE(status.find("fault wrong-echo"), std::string::npos) << status;
    EXPECT_NE(console.Execute("dance").find("unknown command"), std::string::npos);
    EXPECT_NE(console.Execute("status now").find("unexpected argument"), std::string::npos);
    EXPECT_EQ(console.Execute("hangup"), "line closed");
    EXPECT_TRUE(emulator.HungUp());
}

class EmulatorProgram : public ::testing::Test {
protected:
    void SetUp() override {
        m_base = ::testing::TempDir() + "/orvane-emu-prog-" + std::to_string(::getpid());
        m_link = m_base + ".link";
        m_log = m_base + ".log";
        ::unlink(m_link.c_str());
        ::unlink(m_log.c_str());
    }
    void TearDown() override {
        ::unlink(m_link.c_str());
        ::unlink(m_log.c_str());
    }

    std::string m_base;
    std::string m_link;
    std::string m_log;
};

TEST_F(EmulatorProgram, PrintsThePortAnswersLogsAndEndsCleanlyOnSigterm) {
    CChildProcess program;
    ASSERT_TRUE(program.Start({CChildProcess::Beside("orvane-emulator"), "--model", "extended",
                               "--records", "3", "--link", m_link, "--log", m_log}));
    std::string path;
    ASSERT_TRUE(program.ReadLine(path));
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    EXPECT_TRUE(Exists(m_link));

    CTestPort port(m_link);
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.Write("P"));
    EXPECT_NE(port.ReadUntil("U:0\r\n").find("V:003"), std::string::npos);

    // A badge from the console during Teach IN reaches the port as a key line.
    ASSERT_TRUE(port.Write("T"));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(program.WriteLine("badge 0012AB34"));
    std::string answer;
    ASSERT_TRUE(program.ReadLine(answer));
    EXPECT_EQ(answer, "badge 0012AB34 presented");
    EXPECT_EQ(port.ReadUntil("\r\n"), "0012AB34\r\n");

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_FALSE(Exists(m_link));
    const std::string log = ReadFile(m_log);
    EXPECT_NE(log.find("request \"P\" (read parameters)"), std::string::npos) << log;
    EXPECT_NE(log.find("request \"T\" (Teach IN on)"), std::string::npos) << log;
    EXPECT_NE(log.find("stopping on signal"), std::string::npos) << log;
}

TEST_F(EmulatorProgram, FaultOptionAppliesAndStdinEndDoesNotStopIt) {
    CChildProcess program;
    ASSERT_TRUE(program.Start(
        {CChildProcess::Beside("orvane-emulator"), "--fault", "no-answer", "--log", m_log}));
    std::string path;
    ASSERT_TRUE(program.ReadLine(path));
    CTestPort port(path);
    ASSERT_TRUE(port.Write("R"));
    EXPECT_EQ(port.ReadUntilSilent(200ms), "");
    ASSERT_TRUE(program.WriteLine("fault none"));
    ASSERT_TRUE(program.ReadLine(path));
    ASSERT_TRUE(port.Write("R"));
    EXPECT_EQ(port.ReadUntil("\r\n").size(), 19u);
    program.Signal(SIGINT);
    EXPECT_EQ(program.Wait(), 0);
}

TEST_F(EmulatorProgram, HelpVersionAndBadOptions) {
    CChildProcess help;
    ASSERT_TRUE(help.Start({CChildProcess::Beside("orvane-emulator"), "--help"}));
    EXPECT_NE(help.ReadAll().find("--progress-us"), std::string::npos);
    EXPECT_EQ(help.Wait(), 0);

    CChildProcess bad;
    ASSERT_TRUE(
        bad.Start({CChildProcess::Beside("orvane-emulator"), "--model", "x", "--log", m_log}));
    EXPECT_EQ(bad.Wait(), 2);
    EXPECT_EQ(bad.ReadAll(100ms), "");

    for (const std::string program : {"orvane-emulator", "orvane-trace"}) {
        CChildProcess version;
        ASSERT_TRUE(version.Start({CChildProcess::Beside(program), "--version"}));
        EXPECT_EQ(version.ReadAll(), program + " (Orvane) " ORVANE_PRODUCT_VERSION "\n");
        EXPECT_EQ(version.Wait(), 0);
    }
}

TEST_F(EmulatorProgram, TraceViewerPrintsTextsAndRemovesItsSocket) {
    const std::string socketPath = m_base + ".sock";
    CChildProcess viewer;
    ASSERT_TRUE(viewer.Start({CChildProcess::Beside("orvane-trace"), "--socket", socketPath}));
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!Exists(socketPath) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(Exists(socketPath));

    const int sender = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    for (const char* piece : {"\nRea", "d: \0", "O\0\0\0", "K\0\0\0", "<0d>", "<0a>", "\n\0\0\0"}) {
        ASSERT_EQ(
            ::sendto(sender, piece, 4, 0, reinterpret_cast<sockaddr*>(&address), sizeof address),
            4);
    }
    ::close(sender);
    std::string line;
    ASSERT_TRUE(viewer.ReadLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(viewer.ReadLine(line));
    EXPECT_EQ(line, "Read: OK<0d><0a>");
    viewer.Signal(SIGTERM);
    EXPECT_EQ(viewer.Wait(), 0);
    EXPECT_FALSE(Exists(socketPath));
}

}  // namespace
