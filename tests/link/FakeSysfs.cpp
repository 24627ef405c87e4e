#include "FakeSysfs.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text << "\n";
}

}  // namespace

CFakeSysfs::CFakeSysfs() {
    char pattern[] = "/tmp/orvane-sysfs-XXXXXX";
    m_root = ::mkdtemp(pattern);
    fs::create_directories(SysRoot() + "/class/tty");
    fs::create_directories(DevRoot());
}

CFakeSysfs::~CFakeSysfs() {
    std::error_code ec;
    fs::remove_all(m_root, ec);
}

void CFakeSysfs::AddTtyS(int k, int type) {
    const std::string name = "ttyS" + std::to_string(k);
    const fs::path device = SysRoot() + "/devices/platform/serial8250/tty/" + name;
    fs::create_directories(device);
    const fs::path entry = SysRoot() + "/class/tty/" + name;
    fs::create_directories(entry);
    fs::create_directory_symlink(device, entry / "device");
    WriteFile(entry / "type", std::to_string(type));
}

void CFakeSysfs::AddUsbPort(const std::string& name, const std::string& manufacturer,
                            const std::string& product, const UsbIds& ids) {
    const fs::path usbDevice =
        SysRoot() + "/devices/pci0000:00/usb1/" + (ids.usbPort.empty() ? "1-" + name : ids.usbPort);
    const fs::path port = usbDevice / "1-1:1.0" / name;
    fs::create_directories(port);
    if (!manufacturer.empty()) {
        WriteFile(usbDevice / "manufacturer", manufacturer);
    }
    WriteFile(usbDevice / "product", product);
    if (!ids.vendorId.empty()) {
        WriteFile(usbDevice / "idVendor", ids.vendorId);
        WriteFile(usbDevice / "idProduct", ids.productId);
    }
    if (!ids.serial.empty()) {
        WriteFile(usbDevice / "serial", ids.serial);
        fs::create_directories(SysRoot() + "/bus/usb/devices");
        fs::create_directory_symlink(usbDevice, SysRoot() + "/bus/usb/devices/1-" + name);
    }
    if (!ids.driver.empty()) {
        const fs::path driver = SysRoot() + "/bus/usb-serial/drivers/" + ids.driver;
        fs::create_directories(driver);
        fs::create_directory_symlink(driver, port / "driver");
    }
    const fs::path entry = SysRoot() + "/class/tty/" + name;
    fs::create_directories(entry);
    fs::create_directory_symlink(port, entry / "device");
}

void CFakeSysfs::AddVirtualTty(const std::string& name) {
    fs::create_directories(SysRoot() + "/class/tty/" + name);
}

void CFakeSysfs::RemovePort(const std::string& name) {
    fs::remove_all(SysRoot() + "/class/tty/" + name);
}

void CFakeSysfs::AddDevNode(const std::string& name, const std::string& target) {
    const fs::path node = DevRoot() + "/" + name;
    if (target.empty()) {
        WriteFile(node, "");
    } else {
        fs::create_symlink(target, node);
    }
}

void CFakeSysfs::RemoveDevNode(const std::string& name) {
    fs::remove(DevRoot() + "/" + name);
}

void CFakeSysfs::AddById(const std::string& link, const std::string& name) {
    const fs::path byId = DevRoot() + "/serial/by-id";
    fs::create_directories(byId);
    fs::remove(byId / link);
    fs::create_symlink("../../" + name, byId / link);
}

void CFakeSysfs::RemoveClassTty() {
    fs::remove_all(SysRoot() + "/class");
}
