#include "link/DeviceIdentity.h"

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The tty name that sysfs knows the path by: the path's own name or, link
// by link, a target's ("/dev/serial/by-id/usb-…-port0" -> "ttyUSB0").
std::string TtyNameOf(const std::string& path, const CTtyScanner& scanner) {
    fs::path current = path;
    std::string sysDevice;
    std::string usbDevice;
    CUsbIdentity usb;
    for (int hop = 0; hop < 16; ++hop) {
        const std::string name = current.filename().string();
        if (scanner.DeviceOf(name, sysDevice, usbDevice, usb)) {
            return name;
        }
        std::error_code ec;
        if (!fs::is_symlink(current, ec)) {
            return {};
        }
        const fs::path target = fs::read_symlink(current, ec);
        if (ec) {
            return {};
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return {};
}

}  // namespace

bool CDeviceIdentity::Stamp::operator==(const Stamp& other) const {
    return dev == other.dev && ino == other.ino && ctime.tv_sec == other.ctime.tv_sec &&
           ctime.tv_nsec == other.ctime.tv_nsec;
}

CDeviceIdentity CDeviceIdentity::Read(const std::string& path, const CTtyScanner& scanner) {
    CDeviceIdentity identity;
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) {
        return identity;
    }
    identity.m_bPresent = true;
    identity.m_rdev = node.st_rdev;
    identity.m_node = {node.st_dev, node.st_ino, node.st_ctim};
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        identity.m_bViaLink = true;
        identity.m_link = {link.st_dev, link.st_ino, link.st_ctim};
    }
    const std::string name = TtyNameOf(path, scanner);
    if (!name.empty()) {
        scanner.DeviceOf(name, identity.m_strSysDevice, identity.m_strUsbDevice, identity.m_usb);
    }
    return identity;
}

CDeviceIdentity::Match CDeviceIdentity::Compare(const CDeviceIdentity& now) const {
    if (!now.m_bPresent) {
        return Match::Absent;
    }
    if (!m_strUsbDevice.empty()) {
        const bool sameModel =
            now.m_usb.vendorId == m_usb.vendorId && now.m_usb.productId == m_usb.productId;
        const bool same = !m_usb.serialNumber.empty()
                              ? sameModel && now.m_usb.serialNumber == m_usb.serialNumber
                              : sameModel && now.m_usb.serialNumber.empty() &&
                                    now.m_strUsbDevice == m_strUsbDevice;
        return same ? Match::Same : Match::Other;
    }
    if (!m_strSysDevice.empty()) {
        return now.m_strSysDevice == m_strSysDevice ? Match::Same : Match::Other;
    }
    if (!now.m_strSysDevice.empty()) {
        return Match::Other;
    }
    if (now.m_rdev == m_rdev && now.m_node == m_node) {
        return Match::Same;
    }
    return m_bViaLink && now.m_bViaLink && !(now.m_link == m_link) ? Match::Same : Match::Other;
}
