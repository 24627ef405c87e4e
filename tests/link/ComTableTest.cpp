#include <gtest/gtest.h>

#include "FakeSysfs.h"
#include "LinkTestSupport.h"
#include "link/ComTable.h"

namespace {

TEST(ComTable, EntryWinsOverTheTtySRule) {
    CFakeSysfs fake;
    CPtyPair pty;
    fake.AddTtyS(0, 4);
    fake.AddDevNode("ttyS0", pty.PortPath());
    CMapDeviceEntries entries;
    std::string path;

    CComTable plain(&entries, fake.SysRoot(), fake.DevRoot());
    ASSERT_TRUE(plain.Resolve(1, path));
    EXPECT_EQ(path, fake.DevRoot() + "/ttyS0");

    entries.WriteEntry(1, "/dev/pts/77");
    CComTable withEntry(&entries, fake.SysRoot(), fake.DevRoot());
    ASSERT_TRUE(withEntry.Resolve(1, path));
    EXPECT_EQ(path, "/dev/pts/77");
}

TEST(ComTable, NumbersThatStandForNothingDoNotResolve) {
    CFakeSysfs fake;
    fake.AddTtyS(1, 0);  // a ttyS without UART is no port
    fake.AddDevNode("ttyS1");
    CMapDeviceEntries entries;
    entries.WriteEntry(9, "/dev/pts/9");
    CComTable table(&entries, fake.SysRoot(), fake.DevRoot());
    std::string path = "unchanged";
    EXPECT_FALSE(table.Resolve(2, path));
    EXPECT_FALSE(table.Resolve(0, path));
    EXPECT_FALSE(table.Resolve(256, path));
    EXPECT_FALSE(table.Resolve(-1, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_TRUE(table.Resolve(9, path));
}

TEST(ComTable, WithoutSysfsAnExistingTtySNodeCounts) {
    CFakeSysfs fake;
    CPtyPair pty;
    fake.RemoveClassTty();
    fake.AddDevNode("ttyS4", pty.PortPath());
    CComTable table(nullptr, fake.SysRoot(), fake.DevRoot());
    std::string path;
    ASSERT_TRUE(table.Resolve(5, path));
    EXPECT_EQ(path, fake.DevRoot() + "/ttyS4");
    EXPECT_FALSE(table.Resolve(4, path));
}

TEST(ComTable, NumberOfNameReadsTheDigitsAfterCom) {
    EXPECT_EQ(CComTable::NumberOfName("COM3"), 3);
    EXPECT_EQ(CComTable::NumberOfName("\\\\.\\COM12 [Meridel]"), 12);
    EXPECT_EQ(CComTable::NumberOfName("com255"), 255);
    EXPECT_EQ(CComTable::NumberOfName("COM256"), 0);
    EXPECT_EQ(CComTable::NumberOfName("COM99999999999999"), 0);
    EXPECT_EQ(CComTable::NumberOfName("LPT1"), 0);
    EXPECT_EQ(CComTable::NumberOfName("COM"), 0);
}

// A store that keeps nothing written to it.
class CForgetfulEntries : public CMapDeviceEntries {
public:
    void WriteEntry(int, const std::string&) override {}
};

TEST(ComTable, ANetworkReaderGetsANumberNoEntryUartOrNewAdapterHolds) {
    CFakeSysfs fake;
    fake.AddTtyS(2, 4);  // COM3
    fake.AddTtyS(3, 0);  // no UART: COM4 is free
    fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART");
    CMapDeviceEntries entries;
    entries.WriteEntry(5, "rfc2217://Door3.Site:4001");
    CComTable table(&entries, fake.SysRoot(), fake.DevRoot());
    // The adapter is numbered first and takes COM4.
    EXPECT_EQ(table.FreeNumber(), 6);
    EXPECT_EQ(entries.Entries().at(4), fake.DevRoot() + "/ttyUSB0");
    ASSERT_TRUE(table.Enter(6, "socket://[fe80::1]:4002"));
    EXPECT_EQ(table.FreeNumber(), 7);

    const auto numberOf = [&table](const std::string& text) {
        CNetAddress address;
        return CNetAddress::Parse(text, address) ? table.NumberOfAddress(address) : -1;
    };
    EXPECT_EQ(numberOf("RFC2217://door3.site:4001"), 5);
    EXPECT_EQ(numberOf("socket://door3.site:4001"), 0);
    EXPECT_EQ(numberOf("socket://[FE80::1]:4002"), 6);

    CForgetfulEntries forgetful;
    EXPECT_FALSE(CComTable(&forgetful, fake.SysRoot(), fake.DevRoot()).Enter(7, "socket://a:1"));
    for (int n = 6; n <= CComTable::kMaxNumber; ++n) {
        entries.WriteEntry(n, "socket://a:1");
    }
    EXPECT_EQ(CComTable(&entries, fake.SysRoot(), fake.DevRoot()).FreeNumber(), 0);
}

}  // namespace
