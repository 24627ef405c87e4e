#include "link/TtyScanner.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
    }
    return line;
}

// "ttyUSB10" -> ("ttyUSB", 10); names without a number sort by text.
bool NaturalLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        size_t i = s.size();
        while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) {
            --i;
        }
        const std::string digits = s.substr(i);
        return std::make_pair(s.substr(0, i),
                              digits.empty() || digits.size() > 9 ? -1L : std::stol(digits));
    };
    const auto ka = split(a);
    const auto kb = split(b);
    return ka != kb ? ka < kb : a < b;
}

// The last part of a symbolic link's target ("…/drivers/ftdi_sio" -> "ftdi_sio").
std::string LinkName(const fs::path& link) {
    std::error_code ec;
    return fs::read_symlink(link, ec).filename().string();
}

CUsbIdentity ReadUsbIdentity(const fs::path& device) {
    return {ReadLine(device / "manufacturer"), ReadLine(device / "product"),
            ReadLine(device / "idVendor"), ReadLine(device / "idProduct"),
            ReadLine(device / "serial")};
}

bool ParseTtySIndex(const std::string& name, int& k) {
    if (name.rfind("ttyS", 0) != 0 || name.size() == 4 || name.size() > 7) {
        return false;
    }
    for (size_t i = 4; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    k = std::stoi(name.substr(4));
    return true;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
    if (fs::path(a).lexically_normal() == fs::path(b).lexically_normal()) {
        return true;
    }
    std::error_code ea;
    std::error_code eb;
    const fs::path ca = fs::canonical(a, ea);
    const fs::path cb = fs::canonical(b, eb);
    return !ea && !eb && ca == cb;
}

bool IsCharacterDevice(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

CTtyScanner::CTtyScanner(std::string sysRoot, std::string devRoot)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)) {}

bool CTtyScanner::Scan(std::vector<CTtyPort>& ports) const {
    ports.clear();
    std::error_code ec;
    fs::directory_iterator it(fs::path(m_sysRoot) / "class" / "tty", ec);
    if (ec) {
        return false;
    }
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code linkError;
        if (fs::is_symlink(it->path() / "device", linkError) ||
            fs::exists(it->path() / "device", linkError)) {
            names.push_back(it->path().filename().string());
        }
    }
    // A failed step ends the walk like its end does: a half listing is no listing.
    if (ec) {
        return false;
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::string& name : names) {
        CTtyPort port;
        port.name = name;
        port.devicePath = m_devRoot + "/" + name;
        int k = -1;
        if (ParseTtySIndex(name, k)) {
            if (!IsUartPresent(k)) {
                continue;
            }
            port.ttySIndex = k;
        } else {
            port.usb = UsbOf(name);
            const CUsbIdentity& usb = port.usb;
            port.description = usb.manufacturer.empty() || usb.product.empty()
                                   ? usb.manufacturer + usb.product
                                   : usb.manufacturer + " " + usb.product;
        }
        port.driver = LinkName(fs::path(m_sysRoot) / "class" / "tty" / name / "device" / "driver");
        port.stablePath = StablePath(port.devicePath);
        ports.push_back(std::move(port));
    }
    return true;
}

bool CTtyScanner::IsUartPresent(int k) const {
    const std::string name = "ttyS" + std::to_string(k);
    const fs::path entry = fs::path(m_sysRoot) / "class" / "tty" / name;
    std::error_code ec;
    if (fs::is_directory(fs::path(m_sysRoot) / "class" / "tty", ec)) {
        if (!fs::exists(entry / "device", ec)) {
            return false;
        }
        const std::string type = ReadLine(entry / "type");
        return type != "0";
    }
    return IsCharacterDevice(m_devRoot + "/" + name);
}

CUsbIdentity CTtyScanner::UsbOf(const std::string& name) const {
    std::string sysDevice;
    std::string usbDevice;
    CUsbIdentity usb;
    DeviceOf(name, sysDevice, usbDevice, usb);
    return usb;
}

bool CTtyScanner::DeviceOf(const std::string& name, std::string& sysDevice, std::string& usbDevice,
                           CUsbIdentity& usb) const {
    sysDevice.clear();
    usbDevice.clear();
    usb = {};
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    std::error_code ec;
    fs::path dir = fs::canonical(fs::path(m_sysRoot) / "class" / "tty" / name / "device", ec);
    if (ec) {
        return false;
    }
    sysDevice = dir.string();
    // The USB device is a few levels above the port: the interface, then
    // the device that carries the manufacturer and product texts.
    for (int level = 0; level < 4 && dir.has_relative_path(); ++level) {
        if (fs::exists(dir / "product", ec) || fs::exists(dir / "manufacturer", ec)) {
            usbDevice = dir.string();
            usb = ReadUsbIdentity(dir);
            break;
        }
        dir = dir.parent_path();
    }
    return true;
}

bool CTtyScanner::UsbDeviceBySerial(const std::string& serialNumber, CUsbIdentity& usb) const {
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(m_sysRoot) / "bus" / "usb" / "devices", ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!serialNumber.empty() && ReadLine(it->path() / "serial") == serialNumber) {
            usb = ReadUsbIdentity(it->path());
            return true;
        }
    }
    return false;
}

std::string CTtyScanner::StablePath(const std::string& devicePath) const {
    std::error_code ec;
    const fs::path byId = fs::path(m_devRoot) / "serial" / "by-id";
    std::vector<std::string> links;
    for (fs::directory_iterator it(byId, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (linkError) {
            continue;
        }
        const fs::path resolved = target.is_absolute() ? target : byId / target;
        if (SamePath(resolved, devicePath)) {
            links.push_back(it->path().string());
        }
    }
    if (links.empty()) {
        return devicePath;
    }
    // Several links (one per interface name form): take a fixed one.
    std::sort(links.begin(), links.end());
    return links.front();
}
