#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestPort.h"
#include "tools/emulator/ReaderEmulator.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "/" + name + "-" + std::to_string(::getpid());
}

TEST(ReaderEmulatorLine, StartOpensARawPortAndStopIsRepeatable) {
    CReaderEmulator emulator;
    EXPECT_TRUE(emulator.PortPath().empty());
    ASSERT_TRUE(emulator.Start());
    EXPECT_FALSE(emulator.Start());
    EXPECT_TRUE(emulator.Running());
    const std::string path = emulator.PortPath();
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;

    CTestPort port(path);
    ASSERT_TRUE(port.IsOpen());
    // Raw mode on both sides: a carriage return stays a carriage return, nothing is echoed.
    emulator.Send({{0ms, "a\rb\n"}});
    EXPECT_EQ(port.ReadCount(4), "a\rb\n");
    ASSERT_TRUE(port.Write("Q\r"));
    ASSERT_TRUE(emulator.WaitForRequests(2, 2s));
    EXPECT_EQ(port.ReadUntilSilent(50ms), "");

    emulator.Stop();
    emulator.Stop();
    EXPECT_FALSE(emulator.Running());
    // A stopped emulator starts again on a fresh pair.
    ASSERT_TRUE(emulator.Start());
    CTestPort again(emulator.PortPath());
    EXPECT_TRUE(again.IsOpen());
}

TEST(ReaderEmulatorLine, RequestsAreCutByTheGrammarAndLoggedRaw) {
    CReaderEmulator emulator;
    emulator.SetResponder([](const std::string&) { return Reply{}; });
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    // Several requests in one write, an argument split across writes, an unknown byte and the
    // memory-test byte.
    ASSERT_TRUE(port.Write("RLPI0"));
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(port.Write("1M1H01"));
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(port.Write("0?\xC8W\r\n12\r\n34\r\nXX"));
    ASSERT_TRUE(emulator.WaitForRequests(10, 2s));
    const std::vector<std::string> expected{
        "R", "L", "P", "I01", "M1", "H010", "?", "\xC8", "W\r\n12\r\n34\r\nX"};
    const std::vector<std::string> requests = emulator.Requests();
    ASSERT_EQ(requests.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(requests.begin(), requests.begin() + 9), expected);
    EXPECT_EQ(requests[9], "X");  // outside a key block "X" is a request of its own
    EXPECT_EQ(emulator.ReceivedBytes(), "RLPI01M1H010?\xC8W\r\n12\r\n34\r\nXX");

    emulator.ClearRequests();
    EXPECT_TRUE(emulator.Requests().empty());
    EXPECT_TRUE(emulator.ReceivedBytes().empty());
}

TEST(ReaderEmulatorLine, AnIncompleteRequestIsDroppedAfterTheInterByteTimeout) {
    std::mutex mutex;
    std::vector<std::pair<std::string, bool>> seen;
    EmulatorOptions options;
    options.requestTimeout = 100ms;
    CReaderEmulator emulator(options);
    emulator.SetRequestObserver([&](const std::string& bytes, bool complete) {
        std::lock_guard lock(mutex);
        seen.emplace_back(bytes, complete);
    });
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    ASSERT_TRUE(port.Write("S0712"));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(port.Write("R"));
    ASSERT_TRUE(emulator.WaitForRequests(1, 2s));
    EXPECT_EQ(emulator.Requests(), std::vector<std::string>{"R"});
    std::lock_guard lock(mutex);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(std::string("S0712"), false));
    EXPECT_EQ(seen[1], std::make_pair(std::string("R"), true));
}

TEST(ReaderEmulatorLine, ResponderRepliesImmediatelyAfterADelayAndWithPauses) {
    CReaderEmulator emulator;
    emulator.SetResponder([](const std::string& request) -> Reply {
        if (request == "R") {
            return {{0ms, "fixed\r\n"}};
        }
        if (request == "P") {
            return {{300ms, "late\r\n"}};
        }
        return {{0ms, "AB"}, {300ms, "CD"}};
    });
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());

    ASSERT_TRUE(port.Write("R"));
    EXPECT_EQ(port.ReadUntil("\r\n"), "fixed\r\n");

    auto start = steady_clock::now();
    ASSERT_TRUE(port.Write("P"));
    EXPECT_EQ(port.ReadUntil("\r\n"), "late\r\n");
    EXPECT_GE(steady_clock::now() - start, 280ms);
    EXPECT_LT(steady_clock::now() - start, 3s);

    ASSERT_TRUE(port.Write("L"));
    EXPECT_EQ(port.ReadUntilSilent(150ms), "AB");  // the pause is longer than that silence
    EXPECT_EQ(port.ReadUntil("CD"), "CD");

    // Without a responder the reader model answers again.
    emulator.SetResponder({});
    ASSERT_TRUE(port.Write("I42"));
    EXPECT_EQ(port.ReadUntil("\r\n"), "ID:42\r\n");
}

TEST(ReaderEmulatorLine, ReplacingTheResponderWaitsForARunningCall) {
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    CReaderEmulator emulator;
    emulator.SetResponder([&](const std::string&) {
        started = true;
        std::this_thread::sleep_for(200ms);
        finished = true;
        return Reply{};
    });
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    ASSERT_TRUE(port.Write("R"));
    const auto end = steady_clock::now() + 2s;
    while (!started && steady_clock::now() < end) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(started);
    emulator.SetResponder({});
    EXPECT_TRUE(finished);
}

TEST(ReaderEmulatorLine, ClosingAndReopeningThePortKeepsTheEmulatorAlive) {
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    for (int round = 0; round < 3; ++round) {
        CTestPort port(emulator.PortPath());
        ASSERT_TRUE(port.IsOpen());
        ASSERT_TRUE(port.Write("M1"));
        EXPECT_EQ(port.ReadUntil("\r\n"), "M:1\r\n");
    }
    EXPECT_FALSE(emulator.HungUp());
}

TEST(ReaderEmulatorLine, HangUpIsSeenByThePort) {
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    emulator.HangUp();
    EXPECT_TRUE(emulator.HungUp());
    EXPECT_TRUE(port.WaitForHangUp(2s));
    emulator.HangUp();  // a second one does nothing
    emulator.Send({{0ms, "ignored"}});
    EXPECT_TRUE(emulator.WaitForOutputDone(1s));
}

TEST(ReaderEmulatorLine, SymbolicLinkPointsToThePortUntilStop) {
    EmulatorOptions options;
    options.linkPath = TempPath("orvane-emu-link");
    ::unlink(options.linkPath.c_str());
    // A link left behind by an earlier run is replaced.
    ASSERT_EQ(::symlink("/nonexistent", options.linkPath.c_str()), 0);
    {
        CReaderEmulator emulator(options);
        ASSERT_TRUE(emulator.Start());
        char target[256] = {};
        ASSERT_GT(::readlink(options.linkPath.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), emulator.PortPath());
        EXPECT_EQ(emulator.LinkPath(), options.linkPath);
        CTestPort port(options.linkPath);
        EXPECT_TRUE(port.IsOpen());
    }
    struct stat info {};
    EXPECT_NE(::lstat(options.linkPath.c_str(), &info), 0);

    // A real file at that name is never replaced: Start fails and leaves nothing open.
    std::ofstream(options.linkPath) << "keep";
    CReaderEmulator emulator(options);
    EXPECT_FALSE(emulator.Start());
    EXPECT_FALSE(emulator.Running());
    EXPECT_TRUE(emulator.PortPath().empty());
    std::ifstream file(options.linkPath);
    std::string content;
    file >> content;
    EXPECT_EQ(content, "keep");
    ::unlink(options.linkPath.c_str());
}

TEST(ReaderEmulatorLine, OutputIsPacedAtTheBaudRate) {
    EmulatorOptions options;
    options.baudRate = 9600;  // 960 bytes per second
    CReaderEmulator emulator(options);
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    const auto start = steady_clock::now();
    emulator.Send({{0ms, std::string(192, 'x')}});  // 200 ms on the line
    EXPECT_EQ(port.ReadCount(192).size(), 192u);
    const auto took = steady_clock::now() - start;
    EXPECT_GE(took, 180ms);
    EXPECT_LT(took, 3s);
    EXPECT_TRUE(emulator.WaitForOutputDone(2s));
    EXPECT_EQ(emulator.BytesSent(), 192u);
}

TEST(ReaderEmulatorLine, UnpacedOutputIsFast) {
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    CTestPort port(emulator.PortPath());
    const auto start = steady_clock::now();
    emulator.Send({{0ms, std::string(20000, 'y')}});
    EXPECT_EQ(port.ReadCount(20000).size(), 20000u);
    // Well under the 2 s that 20,000 bytes would take at 115,200 baud.
    EXPECT_LT(steady_clock::now() - start, 1500ms);
    EXPECT_TRUE(emulator.WaitForOutputDone(2s));
}

TEST(ReaderEmulatorLine, OutputWaitsWhileNobodyReadsAndStopStillEnds) {
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    // Far more than the pseudo-terminal holds: the worker must wait for room, not spin or block.
    emulator.Send({{0ms, std::string(1 << 20, 'z')}});
    EXPECT_FALSE(emulator.WaitForOutputDone(200ms));
    const auto start = steady_clock::now();
    emulator.Stop();
    EXPECT_LT(steady_clock::now() - start, 2s);
}

}  // namespace
