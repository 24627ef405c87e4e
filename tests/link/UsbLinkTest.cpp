#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "LinkTestSupport.h"
#include "StandInFtd2xx.h"
#include "link/Ftd2xxBinding.h"

namespace {

constexpr const char* kSerial = "A1B2C3";

bool Has(const std::string& log, const std::string& line) {
    return log.find(line + "\n") != std::string::npos;
}

TEST(Ftd2xxLayout, RecordsHaveThePublishedSizes) {
    using namespace ftd2xx;
    // Flags, type, ID, location, 16 + 64 characters, then the handle: 100
    // bytes with 32-bit pointers, 104 with 64-bit ones (aligned handle).
    EXPECT_EQ(offsetof(FT_DEVICE_LIST_INFO_NODE, SerialNumber), 16u);
    EXPECT_EQ(offsetof(FT_DEVICE_LIST_INFO_NODE, Description), 32u);
    EXPECT_EQ(sizeof(FT_DEVICE_LIST_INFO_NODE), sizeof(void*) == 8 ? 104u : 100u);
    EXPECT_EQ(sizeof(FTDCB), 28u);
    EXPECT_EQ(sizeof(FTTIMEOUTS), 20u);
    EXPECT_EQ(sizeof(FTCOMSTAT), 12u);
}

TEST(UsbListing, ListsFreeAdaptersWithSerialNumbersAndAppends) {
    CStandInFtd2xx standIn;
    ASSERT_TRUE(standIn.IsValid());
    standIn.AddAdapter("FREE1", "FT232R USB UART", "/dev/null");
    standIn.AddAdapter("HELD1", "FT232R USB UART", "/dev/null", true);
    standIn.AddAdapter("", "Meridel Orvane USB", "/dev/null");
    standIn.AddAdapter("ABCDEFGHIJKLMNOP", "full field", "/dev/null");
    CRecordingEngine engine;
    std::vector<std::string> list{"existing"};
    engine.ListUsbDevices(list);
    EXPECT_EQ(list, (std::vector<std::string>{"existing", "FREE1", "ABCDEFGHIJKLMNOP"}));
}

TEST(UsbListing, UnconfiguredStandInReportsNoAdapters) {
    CStandInFtd2xx standIn;
    ASSERT_TRUE(standIn.IsValid());
    CRecordingEngine engine;
    std::vector<std::string> list;
    engine.ListUsbDevices(list);
    EXPECT_TRUE(list.empty());
    // The library was asked, and said none.
    EXPECT_TRUE(Has(standIn.Log(), "FT_CreateDeviceInfoList")) << standIn.Log();
}

TEST(UsbListing, ExecutablesFolderIsSearchedByDefault) {
    CFtd2xxBinding::SetLibraryFolder({});
    EXPECT_EQ(CFtd2xxBinding::LibraryFolder(),
              std::filesystem::read_symlink("/proc/self/exe").parent_path().string());

    CFtd2xxBinding::SetLibraryFolder(ORVANE_FTD2XX_COMPLETE_DIR);
    CFtd2xxBinding binding;
    binding.Load();
    EXPECT_TRUE(binding.IsLoaded());
    binding.Unload();
    EXPECT_FALSE(binding.IsLoaded());
    CFtd2xxBinding::SetLibraryFolder({});
}

class UsbLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_standIn.IsValid());
        ASSERT_TRUE(m_pty.IsValid());
        m_standIn.AddAdapter(kSerial, "Meridel Orvane USB", m_pty.PortPath());
    }

    CPtyPair m_pty;
    CStandInFtd2xx m_standIn;
};

TEST_F(UsbLinkTest, OpenPassesTheSerialNumberAndFlagsAndSetsTheLatency) {
    CRecordingEngine engine;
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    EXPECT_TRUE(engine.IsOpen());
    const std::string log = m_standIn.Log();
    EXPECT_TRUE(Has(log,
                    "FT_W32_CreateFile name=A1B2C3 access=0xC0000000 share=0x0 create=0x3 "
                    "flags=0x81"))
        << log;
    EXPECT_TRUE(Has(log, "FT_SetLatencyTimer 2")) << log;
    EXPECT_TRUE(Has(log, "FT_W32_SetCommTimeouts 0xFFFFFFFF 0 0 0 0")) << log;
    // The baud rate reaches the adapter through the line settings only.
    EXPECT_TRUE(Has(log,
                    "FT_W32_SetCommState baud=19200 bits=8 parity=0 stop=0 dtr=0 rts=0 "
                    "cts=0 xon=0"))
        << log;
    EXPECT_TRUE(Has(log, "FT_W32_PurgeComm 0xF")) << log;
    EXPECT_EQ(log.find("FT_SetBaudRate"), std::string::npos);
    EXPECT_EQ(log.find("FT_W32_WaitCommEvent"), std::string::npos);

    // An open adapter is not offered again.
    std::vector<std::string> list;
    engine.ListUsbDevices(list);
    EXPECT_TRUE(list.empty());

    engine.Close();
    EXPECT_TRUE(Has(m_standIn.Log(), "FT_W32_CloseHandle"));
}

TEST_F(UsbLinkTest, HandshakeModesReachTheAdaptersLineSettings) {
    CRecordingEngine engine;
    ASSERT_TRUE(engine.Open(kSerial, 9600, 'E', 7, 2, 1, 9, 100));
    engine.Close();
    ASSERT_TRUE(engine.Open(kSerial, 9600, 'N', 8, 1, 2, 9, 100));
    const std::string log = m_standIn.Log();
    EXPECT_TRUE(Has(log,
                    "FT_W32_SetCommState baud=9600 bits=7 parity=2 stop=2 dtr=1 rts=2 "
                    "cts=1 xon=0"))
        << log;
    EXPECT_TRUE(Has(log,
                    "FT_W32_SetCommState baud=9600 bits=8 parity=0 stop=0 dtr=0 rts=0 "
                    "cts=0 xon=1"))
        << log;
}

TEST_F(UsbLinkTest, BytesFlowBothWays) {
    CRecordingEngine engine;
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    ASSERT_TRUE(engine.StartMonitoring());
    // Longer than one piece of a USB write: it goes out whole, in order.
    std::string request;
    for (int i = 0; i < 600; ++i) {
        request.push_back(static_cast<char>('a' + i % 26));
    }
    ASSERT_TRUE(engine.Write(request.c_str(), CSerialEngine::kWholeText));
    EXPECT_EQ(m_pty.Receive(request.size(), 3s), request);
    std::string reply;
    for (int i = 0; i < 3000; ++i) {
        reply.push_back(static_cast<char>(i * 7));
    }
    ASSERT_TRUE(m_pty.Send(reply));
    ASSERT_TRUE(engine.WaitForBytes(reply.size(), 5s));
    EXPECT_TRUE(engine.Received() == reply);
    EXPECT_TRUE(engine.BytesCameOnOneOtherThread());
    ASSERT_TRUE(engine.WaitUntil([&] { return !engine.BytesWritten().empty(); }, 3s));
    EXPECT_EQ(engine.BytesWritten(), std::vector<uint32_t>{600});
}

TEST_F(UsbLinkTest, LineStateComesFromTheAdapter) {
    CRecordingEngine engine;
    m_standIn.SetLineState(0, 0x10);  // CTS on at open
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    EXPECT_EQ(engine.LineHooks(), std::vector<std::string>{"CTS"});
    ASSERT_TRUE(engine.StartMonitoring());

    // A break hides the framing error that comes with it.
    m_standIn.SetLineState(0x18, 0x10 | 0x20);
    ASSERT_TRUE(engine.WaitUntil([&] { return engine.BreakCount() == 1; }, 3s));
    ASSERT_TRUE(engine.WaitUntil([&] { return engine.LineHooks().size() == 2; }, 3s));
    EXPECT_EQ(engine.LineHooks().back(), "DSR");
    EXPECT_TRUE(engine.LineErrors().empty());

    m_standIn.SetLineState(0x02, 0x20);
    ASSERT_TRUE(engine.WaitUntil([&] { return !engine.LineErrors().empty(); }, 3s));
    EXPECT_EQ(engine.LineErrors().front(), 0x02u);
    ASSERT_TRUE(engine.WaitUntil([&] { return engine.LineHooks().size() == 3; }, 3s));
    EXPECT_EQ(engine.LineHooks().back(), "CTS");  // CTS went off
}

TEST_F(UsbLinkTest, UnpluggedAdapterIsReportedOnce) {
    CRecordingEngine engine;
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    ASSERT_TRUE(engine.StartMonitoring());
    m_pty.HangUp();
    ASSERT_TRUE(engine.WaitUntil([&] { return !engine.LineErrors().empty(); }, 3s));
    const std::optional<double> share = engine.MonitorCpuShare(200ms);
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, 0.25);
    EXPECT_EQ(engine.LineErrors(), std::vector<uint32_t>{0x800});
    engine.Close();
    EXPECT_FALSE(engine.IsOpen());
}

TEST_F(UsbLinkTest, CloseDuringALongWriteReturnsPromptly) {
    // A full key list takes the adapter about 8 s at 19200 baud.
    CRecordingEngine engine;
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    ASSERT_TRUE(engine.StartMonitoring());
    const std::string keyList(15000, 'k');
    ASSERT_TRUE(engine.Write(keyList.data(), static_cast<uint32_t>(keyList.size())));
    ASSERT_FALSE(m_pty.Receive(1, 3s).empty());
    const auto start = std::chrono::steady_clock::now();
    engine.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_FALSE(engine.IsOpen());
}

TEST_F(UsbLinkTest, UnknownSerialNumberDoesNotOpen) {
    CRecordingEngine engine;
    EXPECT_FALSE(engine.OpenDefault("NOSUCH"));
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::NotPresent);
    EXPECT_TRUE(engine.LastOpenFailure().usb);
    EXPECT_EQ(engine.LastOpenFailure().port, "NOSUCH");
    // Nor does an adapter another engine holds.
    CRecordingEngine holder;
    ASSERT_TRUE(holder.OpenDefault(kSerial));
    EXPECT_FALSE(engine.OpenDefault(kSerial));
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::InUse);
    EXPECT_EQ(engine.OpenedDevicePresence(), CDeviceIdentity::Match::Absent);  // nothing opened yet
    // Once it is free again, the holder's adapter counts as back.
    holder.Close();
    EXPECT_EQ(holder.OpenedDevicePresence(), CDeviceIdentity::Match::Same);
}

class MissingLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvane-noftd2xx-XXXXXX";
        m_folder = ::mkdtemp(pattern);
        CFtd2xxBinding::SetLibraryFolder(m_folder);
    }
    void TearDown() override {
        CFtd2xxBinding::SetLibraryFolder({});
        std::filesystem::remove_all(m_folder);
    }
    std::string m_folder;
};

TEST_F(MissingLibraryTest, UsbFailsQuietlyComKeepsWorkingAndLoadingIsRetried) {
    CDebugCapture debug;
    CRecordingEngine engine;
    std::vector<std::string> list{"kept"};
    engine.ListUsbDevices(list);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    EXPECT_FALSE(engine.OpenDefault(kSerial));
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.LastOpenFailure().kind, LinkFailureKind::UsbLibraryMissing);
    EXPECT_EQ(debug.Lines(),
              (std::vector<std::string>{
                  "Fehler: Kann libftd2xx.so nicht laden",
                  "FT_CreateDeviceInfoList ist nicht vorhanden!",
                  "Fehler: Kann libftd2xx.so nicht laden",  // tried again
                  std::string("Open ") + kSerial +
                      " failed: libftd2xx.so cannot be loaded (Can not access a needed shared "
                      "library)",
              }));

    CPtyPair pty;
    CScopedEntries entries;
    entries.Set(40, pty.PortPath());
    ASSERT_TRUE(engine.OpenDefault("COM40"));
    ASSERT_TRUE(engine.StartMonitoring());
    ASSERT_TRUE(pty.Send("c"));
    EXPECT_TRUE(engine.WaitForBytes(1, 3s));
    engine.Close();

    // Once the library is there, the next USB call loads it.
    CStandInFtd2xx standIn;
    standIn.AddAdapter(kSerial, "", pty.PortPath());
    list.clear();
    engine.ListUsbDevices(list);
    EXPECT_EQ(list, std::vector<std::string>{kSerial});
}

TEST(PartialLibrary, MissingEntryPointsAreNamedAndFallBack) {
    CDebugCapture debug;
    CStandInFtd2xx standIn(CStandInFtd2xx::PartialFolder());
    ASSERT_TRUE(standIn.IsValid());
    CPtyPair pty;
    standIn.AddAdapter(kSerial, "", pty.PortPath());
    CRecordingEngine engine;

    std::vector<std::string> list{"kept"};
    engine.ListUsbDevices(list);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    EXPECT_EQ(debug.Lines(), (std::vector<std::string>{
                                 "Fehler: Kann FT_SetLatencyTimer nicht initialisieren",
                                 "Fehler: Kann FT_CreateDeviceInfoList nicht initialisieren",
                                 "Fehler: Kann FT_GetDeviceInfoList nicht initialisieren",
                                 "Fehler: Kann FT_W32_GetLastError nicht initialisieren",
                                 "Fehler: Kann FT_W32_SetCommTimeouts nicht initialisieren",
                                 "FT_CreateDeviceInfoList ist nicht vorhanden!",
                             }));

    // The open works; the missing time-out call fails the configuration,
    // with error 0 since the last-error function is missing too.
    ASSERT_TRUE(engine.OpenDefault(kSerial));
    EXPECT_TRUE(debug.Contains(
        "WARNING:  SetCommTimeouts() Failed with the following error: \nSuccess\nPort: A1B2C3\n"));
    EXPECT_EQ(standIn.Log().find("FT_W32_SetCommState"), std::string::npos);
    ASSERT_TRUE(engine.StartMonitoring());
    ASSERT_TRUE(pty.Send("u"));
    EXPECT_TRUE(engine.WaitForBytes(1, 3s));
}

TEST(Ftd2xxBindingFallbacks, UnboundEntryPointsGiveTheNotAvailableResults) {
    using namespace ftd2xx;
    CFtd2xxBinding binding;  // never loaded
    EXPECT_EQ(binding.W32CreateFile("X", FT_GENERIC_READ, 0, FT_OPEN_EXISTING, 1),
              FtInvalidHandle());
    FT_HANDLE handle = reinterpret_cast<FT_HANDLE>(intptr_t{0x1234});
    DWORD value = 7;
    FTCOMSTAT status{};
    FTDCB dcb{};
    FTTIMEOUTS timeouts{};
    char buffer[4];
    EXPECT_FALSE(binding.W32CloseHandle(handle));
    EXPECT_FALSE(binding.W32ReadFile(handle, buffer, 1, &value));
    EXPECT_FALSE(binding.W32WriteFile(handle, buffer, 1, &value));
    EXPECT_EQ(binding.W32GetLastError(handle), 0u);
    EXPECT_FALSE(binding.W32ClearCommError(handle, &value, &status));
    EXPECT_FALSE(binding.W32GetCommModemStatus(handle, &value));
    EXPECT_FALSE(binding.W32GetCommState(handle, &dcb));
    EXPECT_FALSE(binding.W32SetCommState(handle, &dcb));
    EXPECT_FALSE(binding.W32SetCommMask(handle, 9));
    EXPECT_FALSE(binding.W32SetCommTimeouts(handle, &timeouts));
    EXPECT_EQ(binding.SetLatencyTimer(handle, 2), 1u);
    binding.W32PurgeComm(handle, FT_PURGE_ALL);
    EXPECT_FALSE(binding.IsLoaded());  // only the USB open and the listing load
}

}  // namespace
