#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>

#include "Ser2net.h"
#include "link/DeviceEntries.h"
#include "protocol/ReaderProtocol.h"
#include "protocol/UserInterface.h"
#include "tools/emulator/ReaderEmulator.h"

using Ms = std::chrono::milliseconds;

// Makes the receive path callable without a port, and reply waits
// stoppable by the test.
class CTestProtocol : public CReaderProtocol {
public:
    using CReaderProtocol::OnByteReceived;
    std::function<bool(size_t bytes)> stopAt;

protected:
    bool StopWait(size_t bytes, uint32_t) override { return stopAt && stopAt(bytes); }
};

// Counts busy-cursor calls and message pumps; used on the UI thread only.
class CCountingUserInterface : public IUserInterface {
public:
    void PumpMessages() override { ++pumps; }
    void BeginWaitCursor() override { ++begins; }
    void RestoreWaitCursor() override { ++restores; }
    void EndWaitCursor() override { ++ends; }

    int pumps = 0;
    int begins = 0;
    int restores = 0;
    int ends = 0;
};

// Collects what the byte hook sees, on the monitor thread.
class CHookRecorder {
public:
    static void Hook(uint8_t byte);
    static void Reset();
    static std::string Bytes();

private:
    static std::mutex s_mutex;
    static std::string s_bytes;
};

std::string Text(std::initializer_list<uint8_t> bytes);

// Milliseconds since construction.
class CStopwatch {
public:
    long long Elapsed() const {
        return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// How a test reaches the emulator: its pseudo-terminal directly, or through
// ser2net as a raw TCP or an RFC 2217 port.
enum class LinkVia { Pty, Socket, Rfc2217 };
std::string ViaName(const ::testing::TestParamInfo<LinkVia>& info);

// A protocol object opened through the COM table ("COM40") on a reader
// emulator, monitor thread running.
class CEmulatorLink {
public:
    CEmulatorLink(const EmulatorOptions& options, uint32_t timeoutMs, LinkVia via = LinkVia::Pty);
    ~CEmulatorLink();
    bool Ok() const { return m_bOk; }

    CReaderEmulator emulator;
    CTestProtocol protocol;
    std::unique_ptr<CSer2net> ser2net;

private:
    CMapDeviceEntries m_entries;
    bool m_bOk = false;
};

// A linked protocol object whose reader answers what the test scripts, with
// a counting user interface installed.
class LinkedProtocolTest : public ::testing::Test {
protected:
    static constexpr uint32_t kTimeoutMs = 80;

    void SetUp() override;
    void TearDown() override;

    // Every request is answered with these chunks.
    void AnswerWith(Reply chunks);
    CReaderEmulator& Emulator() { return m_link->emulator; }
    CTestProtocol& Protocol() { return m_link->protocol; }

    CCountingUserInterface m_ui;
    std::unique_ptr<CEmulatorLink> m_link;
};
