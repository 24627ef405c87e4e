#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "link/DeviceEntries.h"
#include "protocol/ReaderProtocol.h"
#include "protocol/UserInterface.h"
#include "tests/GuiTestSupport.h"
#include "tools/emulator/ReaderEmulator.h"

// The reply wait of the tests: dispatches Qt events like the program's, and
// counts the busy cursor instead of showing it.
class CTestUserInterface : public IUserInterface {
public:
    void PumpMessages() override;
    void BeginWaitCursor() override { ++m_nWaitCursor; }
    void RestoreWaitCursor() override {}
    void EndWaitCursor() override { --m_nWaitCursor; }

    std::atomic<int> m_nWaitCursor{0};
};

// Installs a CTestUserInterface for the lifetime of the object.
class CTestUserInterfaceScope {
public:
    CTestUserInterfaceScope() { SetUserInterface(&m_ui); }
    ~CTestUserInterfaceScope() { SetUserInterface(nullptr); }
    CTestUserInterface m_ui;
};

// Emulator options for quick tests: no line pacing, fast progress bytes and reset.
EmulatorOptions FastEmulatorOptions(ReaderModel model = ReaderModel::Basic);

// A reader emulator on a pseudo-terminal, reachable as COM40 through an
// in-memory device table, and a reader protocol object opened on it with a
// short reply time-out.
class CEmulatedReader {
public:
    // Short, but long enough that a loaded machine (or a sanitizer build)
    // pausing the emulator thread does not end a reply early.
    static constexpr uint32_t kTimeoutMs = 250;

    explicit CEmulatedReader(EmulatorOptions options = FastEmulatorOptions());
    ~CEmulatedReader();

    // Starts the emulator, maps it to COM40; with openReader also opens m_reader on it.
    bool Start(bool openReader = true);

    // The requests received so far, as text.
    std::vector<std::string> Requests() const { return m_emulator.Requests(); }

    CReaderEmulator m_emulator;
    CMapDeviceEntries m_entries;
    CReaderProtocol m_reader;
};

// An extended reader on the emulator and a recording user interface, for the
// dialogs that talk to the reader themselves.
class CExtendedReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_reader.Start()); }

    CTestUserInterfaceScope m_ui;
    CEmulatedReader m_reader{FastEmulatorOptions(ReaderModel::Extended)};
};
