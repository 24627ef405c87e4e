#pragma once

#include <string>

// A fake /sys and /dev below a temporary folder, removed on destruction.
class CFakeSysfs {
public:
    CFakeSysfs();
    ~CFakeSysfs();

    std::string SysRoot() const { return m_root + "/sys"; }
    std::string DevRoot() const { return m_root + "/dev"; }

    // /sys/class/tty/ttyS<k> with its "type" (0 = no UART).
    void AddTtyS(int k, int type);
    // A USB serial port with the USB device's manufacturer and product texts;
    // with ids, also its vendor and product id, serial number (the device is
    // then listed in /sys/bus/usb/devices), the port's driver and the USB
    // port the device hangs on ("1-<name>" unless given).
    struct UsbIds {
        std::string vendorId, productId, serial, driver, usbPort;
    };
    void AddUsbPort(const std::string& name, const std::string& manufacturer,
                    const std::string& product, const UsbIds& ids = {});
    // A virtual terminal: no "device" link.
    void AddVirtualTty(const std::string& name);
    void RemovePort(const std::string& name);
    // /dev/<name>, made a link to a real character device (a pseudo-terminal)
    // or, with an empty target, a plain file.
    void AddDevNode(const std::string& name, const std::string& target = {});
    void RemoveDevNode(const std::string& name);
    // /dev/serial/by-id/<link> pointing to ../../<name>.
    void AddById(const std::string& link, const std::string& name);
    // Makes /sys/class/tty unreadable by removing it.
    void RemoveClassTty();

private:
    std::string m_root;
};
