#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "DirectoryFault.h"
#include "FakeSysfs.h"
#include "LinkTestSupport.h"
#include "link/ComTable.h"
#include "link/DeviceHolder.h"
#include "link/DeviceIdentity.h"
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
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R USB UART",
                      {"0403", "6001", "A1B2C3", "ftdi_sio", ""});
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
    EXPECT_EQ(usb.holder, (CDeviceHolder{holder.Pid(), "orvholder", true}));

    EXPECT_EQ(facts[1].devicePath, entered.PortPath());
    EXPECT_EQ(facts[1].holder.pid, 0);
    EXPECT_TRUE(facts[1].usb.vendorId.empty());
    // An adapter the D2XX library drives is found by its serial number.
    EXPECT_TRUE(facts[2].devicePath.empty());
    EXPECT_EQ(facts[2].usb.product, "FT232R USB UART");
    EXPECT_TRUE(facts[3].devicePath.empty());
}

// Who keeps others out comes first; who merely has the port open follows; the
// program at the other end of a pseudo-terminal is no holder at all.
TEST_F(PortDiscoveryTest, HoldersAreTheLockHoldersFirstThenTheOpenersButNeverTheMasterSide) {
    using Hold = CHeldPort::Hold;
    CHeldPort line("", "orvmaster", Hold::OwnPty);
    ASSERT_NE(line.Pid(), 0);
    EXPECT_TRUE(FindDeviceHolders({line.Path()}).empty());

    CHeldPort opener(line.Path(), "orvopener", Hold::Open);
    CHeldPort posix(line.Path(), "orvposix", Hold::Posix);
    CPtyPair other;
    CHeldPort flocker(other.PortPath(), "orvflock", Hold::Flock);
    ASSERT_TRUE(opener.Pid() != 0 && posix.Pid() != 0 && flocker.Pid() != 0);
    auto holders = FindDeviceHolders({line.Path(), other.PortPath(), "/nonexistent/tty"});
    EXPECT_EQ(holders[line.Path()],
              (std::vector<CDeviceHolder>{{posix.Pid(), "orvposix", true},
                                          {opener.Pid(), "orvopener", false}}));
    EXPECT_EQ(holders[other.PortPath()],
              (std::vector<CDeviceHolder>{{flocker.Pid(), "orvflock", true}}));
    EXPECT_EQ(holders.count("/nonexistent/tty"), 0u);

    // The interface list's facts name the same, the holder first.
    m_entries.Set(41, line.Path());
    const std::vector<CPortFacts> facts =
        CPortDiscovery(m_fake.SysRoot(), m_fake.DevRoot()).Describe({"COM41"});
    ASSERT_EQ(facts.size(), 1u);
    EXPECT_EQ(facts[0].holder, (CDeviceHolder{posix.Pid(), "orvposix", true}));
    EXPECT_EQ(facts[0].others, (std::vector<CDeviceHolder>{{opener.Pid(), "orvopener", false}}));
}

TEST_F(PortDiscoveryTest, NetworkEntriesAreListedAndDescribedWithoutConnecting) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in local{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof local;
    auto* address = reinterpret_cast<sockaddr*>(&local);
    ASSERT_TRUE(::bind(listener, address, length) == 0 && ::listen(listener, 4) == 0 &&
                ::getsockname(listener, address, &length) == 0);
    m_entries.Set(41, "socket://127.0.0.1:" + std::to_string(ntohs(local.sin_port)));
    m_entries.Set(42, "rfc2217://door 3:4001");  // listed, so that opening it says why not
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM41", "\\\\.\\COM42"}));
    const auto describe = [&] {
        return CPortDiscovery(m_fake.SysRoot(), m_fake.DevRoot()).Describe({"COM41", "COM42"});
    };
    EXPECT_EQ(describe()[0].network, m_entries.Map().Entries().at(41));
    EXPECT_EQ(describe()[1].network, "rfc2217://door 3:4001");
    EXPECT_EQ(describe()[0].holder.pid, 0);
    EXPECT_LT(::accept(listener, nullptr, nullptr), 0);  // nobody connected

    // Another program connected to the address holds it.
    CHeldPort holder(
        [address] {
            return ::connect(::socket(AF_INET, SOCK_STREAM, 0), address, sizeof(sockaddr_in)) == 0;
        },
        "orvnetholder");
    ASSERT_NE(holder.Pid(), 0);
    EXPECT_EQ(describe()[0].holder.pid, holder.Pid());
    EXPECT_EQ(describe()[0].holder.name, "orvnetholder");

    // Without sysfs they are listed without probing.
    m_fake.RemoveClassTty();
    EXPECT_EQ(Discover(), (List{"\\\\.\\COM41", "\\\\.\\COM42"}));
    ::close(listener);
}

// A device under a name it had before is the same one only when it says so.
TEST_F(PortDiscoveryTest, ADeviceIsTheSameOnlyWhenItsIdentityMatches) {
    using Match = CDeviceIdentity::Match;
    const CTtyScanner scanner(m_fake.SysRoot(), m_fake.DevRoot());
    const auto read = [&](const std::string& name) {
        return CDeviceIdentity::Read(m_fake.DevRoot() + "/" + name, scanner);
    };
    CPtyPair first;
    CPtyPair second;
    const std::string byId = "serial/by-id/usb-FTDI_A1-if00-port0";
    m_fake.AddTtyS(0, 4);
    m_fake.AddDevNode("ttyS0", first.PortPath());
    m_fake.AddUsbPort("ttyUSB0", "FTDI", "FT232R", {"0403", "6001", "A1", "ftdi_sio", "1-2"});
    m_fake.AddDevNode("ttyUSB0", first.PortPath());
    m_fake.AddById("usb-FTDI_A1-if00-port0", "ttyUSB0");
    const CDeviceIdentity uart = read("ttyS0");
    const CDeviceIdentity serial = read(byId);
    EXPECT_EQ(serial.Usb().serialNumber, "A1");
    EXPECT_EQ(uart.Compare(read("ttyS0")), Match::Same);

    // The adapter with a serial number comes back as ttyUSB1 on another USB port.
    m_fake.RemovePort("ttyUSB0");
    m_fake.RemoveDevNode("ttyUSB0");
    EXPECT_EQ(serial.Compare(read(byId)), Match::Absent);
    m_fake.AddUsbPort("ttyUSB1", "FTDI", "FT232R", {"0403", "6001", "A1", "ftdi_sio", "1-3"});
    m_fake.AddDevNode("ttyUSB1", second.PortPath());
    m_fake.AddById("usb-FTDI_A1-if00-port0", "ttyUSB1");
    EXPECT_EQ(serial.Compare(read(byId)), Match::Same);

    // Without a serial number the USB port tells one adapter from another.
    m_fake.AddUsbPort("ttyUSB2", "Prolific", "PL2303", {"067b", "2303", "", "", "1-4"});
    m_fake.AddDevNode("ttyUSB2", second.PortPath());
    const CDeviceIdentity anonymous = read("ttyUSB2");
    m_fake.RemovePort("ttyUSB2");
    m_fake.AddUsbPort("ttyUSB2", "Prolific", "PL2303", {"067b", "2303", "", "", "1-5"});
    EXPECT_EQ(anonymous.Compare(read("ttyUSB2")), Match::Other);
    m_fake.RemovePort("ttyUSB2");
    m_fake.AddUsbPort("ttyUSB2", "Prolific", "PL2303", {"067b", "2303", "", "", "1-4"});
    EXPECT_EQ(anonymous.Compare(read("ttyUSB2")), Match::Same);
    EXPECT_EQ(anonymous.Compare(read("ttyS0")), Match::Other);

    // A pseudo-terminal is itself only while it lives; a link made anew
    // vouches for a new one, a stale link does not.
    auto pty = std::make_unique<CPtyPair>();
    const std::string ptyPath = pty->PortPath();
    m_fake.AddDevNode("link", ptyPath);
    const CDeviceIdentity direct = CDeviceIdentity::Read(ptyPath, scanner);
    const CDeviceIdentity linked = read("link");
    EXPECT_EQ(direct.Compare(CDeviceIdentity::Read(ptyPath, scanner)), Match::Same);
    pty.reset();
    EXPECT_EQ(linked.Compare(read("link")), Match::Absent);
    std::this_thread::sleep_for(20ms);  // past a tick of the clock that stamps new nodes
    CPtyPair again;
    if (again.PortPath() == ptyPath) {
        EXPECT_EQ(direct.Compare(CDeviceIdentity::Read(ptyPath, scanner)), Match::Other);
        EXPECT_EQ(linked.Compare(read("link")), Match::Other);
    }
    m_fake.RemoveDevNode("link");
    m_fake.AddDevNode("link", again.PortPath());
    EXPECT_EQ(linked.Compare(read("link")), Match::Same);
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
