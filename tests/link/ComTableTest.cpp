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

}  // namespace
