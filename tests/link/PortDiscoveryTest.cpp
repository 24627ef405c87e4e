#include <gtest/gtest.h>

#include "DirectoryFault.h"
#include "FakeSysfs.h"
#include "LinkTestSupport.h"
#include "link/ComTable.h"
#include "link/PortDiscovery.h"
#include "link/TtyScanner.h"

namespace {

using List = std::vector<std::string>;

class PortDiscoveryTest : public ::testing::Test {
protected:
    List Discover() {
        List list{"stale"};
        EXPECT_TRUE(CPortDiscovery(m_fake.SysRoot(), m_fake.DevRoot()).EnumerateComPorts(list));
        return list;
    }

    CFakeSysfs m_fake;
    CScopedEntries m_entries;
};

TEST_F(PortDiscoveryTest, ListsSerialPortsButNotEmptyUartSlotsOrVirtualTerminals) {
    m_fake.AddTtyS(0, 4);
    m_fake.AddTtyS(1, 0);
    m_fake.AddVirtualTty("tty0");
    m_fake.AddVirtualTty("console");
    EXPECT_EQ(Discover(), List{"\\\\.\\COM1"});
}

TEST_F(PortDiscoveryTest, AListingBrokenOffPartWayIsNoListing) {
    m_fake.AddTtyS(0, 4);
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART");
    std::vector<CTtyPort> ports;
    const CDirectoryFault fault;
    EXPECT_FALSE(CTtyScanner(m_fake.SysRoot(), m_fake.DevRoot()).Scan(ports));
}

TEST_F(PortDiscoveryTest, OnlyTheMakersDescriptionsAreShown) {
    m_fake.AddUsbPort("ttyUSB0", "MERIDEL", "Orvane USB");
    m_fake.AddUsbPort("ttyUSB1", "FTDI", "FT232R USB UART");
    m_fake.AddUsbPort("ttyACM0", "", "meridel reader");
    // Numbered in name order: ttyACM0, ttyUSB0, ttyUSB1.
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM3 [meridel reader]", "\\\\.\\COM4 [MERIDEL Orvane USB]",
                                "\\\\.\\COM5"}));
}

TEST_F(PortDiscoveryTest, NewPortsGetTheLowestFreeNumberAndKeepItWhenReplugged) {
    m_fake.AddTtyS(0, 4);  // COM1
    m_fake.AddTtyS(2, 4);  // COM3
    m_entries.Set(4, "/dev/pts/444");
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART");
    m_fake.AddById("usb-FTDI_FT232R_USB_UART_A1-if00-port0", "ttyUSB0");
    m_fake.AddUsbPort("ttyACM0", "Acme", "Modem");
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM1", "\\\\.\\COM3", "\\\\.\\COM5", "\\\\.\\COM6"}));
    const std::string byId =
        m_fake.DevRoot() + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    EXPECT_EQ(m_entries.Map().Entries(),
              (std::map<int, std::string>{
                  {4, "/dev/pts/444"}, {5, m_fake.DevRoot() + "/ttyACM0"}, {6, byId}}));

    // Plugged in again, the adapter comes back as ttyUSB1.
    m_fake.RemovePort("ttyUSB0");
    m_fake.AddUsbPort("ttyUSB1", "FTDI", "FT232R USB UART");
    m_fake.AddById("usb-FTDI_FT232R_USB_UART_A1-if00-port0", "ttyUSB1");
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM1", "\\\\.\\COM3", "\\\\.\\COM5", "\\\\.\\COM6"}));
    EXPECT_EQ(m_entries.Map().Entries().size(), 3u);

    // The engine's open resolves through the same table.
    std::string path;
    ASSERT_TRUE(CComTable(DeviceEntries(), m_fake.SysRoot(), m_fake.DevRoot()).Resolve(6, path));
    EXPECT_EQ(path, byId);
}

TEST_F(PortDiscoveryTest, OpeningANumberNumbersThePortsFirst) {
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART");
    CComTable table(DeviceEntries(), m_fake.SysRoot(), m_fake.DevRoot());
    std::string path;
    ASSERT_TRUE(table.Resolve(3, path));
    EXPECT_EQ(path, m_fake.DevRoot() + "/ttyUSB0");
    EXPECT_EQ(m_entries.Map().Entries().at(3), path);
}

TEST_F(PortDiscoveryTest, EntriesAreListedWhenTheirDeviceExists) {
    CPtyPair a;
    CPtyPair b;
    m_fake.AddTtyS(0, 4);
    m_entries.Set(10, a.PortPath());
    m_entries.Set(2, b.PortPath());
    m_entries.Set(7, "/nonexistent/tty");
    m_entries.Set(1, a.PortPath());  // an entry takes ttyS0's number: listed once
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM1", "\\\\.\\COM2", "\\\\.\\COM10"}));
}

TEST_F(PortDiscoveryTest, ReadableSysfsWithoutPortsListsNothingAndDoesNotProbe) {
    CPtyPair pty;
    m_fake.AddVirtualTty("tty1");
    m_fake.AddDevNode("ttyS0", pty.PortPath());  // would open if probed
    EXPECT_EQ(Discover(), List{});
}

TEST_F(PortDiscoveryTest, WithoutSysfsOpenablePortsAreProbed) {
    CPtyPair free;
    CPtyPair held;
    CPtyPair ttyS;
    m_fake.RemoveClassTty();
    m_fake.AddDevNode("ttyS1", ttyS.PortPath());
    m_entries.Set(5, free.PortPath());
    m_entries.Set(7, held.PortPath());
    m_entries.Set(9, "/nonexistent/tty");
    CRecordingEngine holder;
    ASSERT_TRUE(holder.OpenDefault("COM7"));

    EXPECT_EQ(Discover(), (List{"\\\\.\\COM2", "\\\\.\\COM5"}));
    // Probing released what it opened.
    CRecordingEngine engine;
    EXPECT_TRUE(engine.OpenDefault("COM5"));
}

TEST_F(PortDiscoveryTest, DescribeTellsWhichPortIsWhich) {
    CPtyPair adapter;
    CPtyPair entered;
    m_fake.AddTtyS(0, 4);
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART", {"0403", "6001", "A1B2C3", "ftdi_sio"});
    m_fake.AddDevNode("ttyUSB0", adapter.PortPath());
    m_fake.AddById("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "ttyUSB0");
    m_entries.Set(40, entered.PortPath());
    CHeldPort holder(adapter.PortPath(), "orvholder");
    ASSERT_NE(holder.Pid(), 0);
    Discover();  // numbers the adapter COM3

    const std::vector<CPortFacts> facts = CPortDiscovery(m_fake.SysRoot(), m_fake.DevRoot())
                                              .Describe({"COM3", "COM40", "USB: A1B2C3", "COM9"});
    ASSERT_EQ(facts.size(), 4u);
    const CPortFacts& usb = facts[0];
    EXPECT_EQ(usb.entry, "COM3");
    EXPECT_EQ(usb.devicePath, m_fake.DevRoot() + "/ttyUSB0");
    EXPECT_EQ(usb.byId, "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
    EXPECT_EQ(usb.driver, "ftdi_sio");
    EXPECT_EQ(usb.usb.manufacturer + "|" + usb.usb.product + "|" + usb.usb.vendorId + ":" +
                  usb.usb.productId + "|" + usb.usb.serialNumber,
              "FTDI|FT232R USB UART|0403:6001|A1B2C3");
    EXPECT_EQ(usb.holder.pid, holder.Pid());
    EXPECT_EQ(usb.holder.name, "orvholder");

    EXPECT_EQ(facts[1].devicePath, entered.PortPath());
    EXPECT_EQ(facts[1].holder.pid, 0);
    EXPECT_TRUE(facts[1].usb.vendorId.empty());
    // An adapter the D2XX library drives is found by its serial number.
    EXPECT_TRUE(facts[2].devicePath.empty());
    EXPECT_EQ(facts[2].usb.product, "FT232R USB UART");
    EXPECT_TRUE(facts[3].devicePath.empty());
}

TEST(InsertPortSorted, OrdersByNumberAndKeepsTheOrderOfEqualOnes) {
    List list;
    for (const char* entry : {"\\\\.\\COM10", "\\\\.\\COM2", "\\\\.\\COM1 [Meridel]",
                              "\\\\.\\COM2x", "\\\\.\\COMX", "\\\\.\\COM100"}) {
        CPortDiscovery::InsertPortSorted(list, entry);
    }
    EXPECT_EQ(list, (List{"\\\\.\\COMX", "\\\\.\\COM1 [Meridel]", "\\\\.\\COM2", "\\\\.\\COM2x",
                          "\\\\.\\COM10", "\\\\.\\COM100"}));
}

}  // namespace
