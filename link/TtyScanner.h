#pragma once

#include <string>
#include <vector>

// What sysfs knows about a USB device.
struct CUsbIdentity {
    std::string manufacturer;
    std::string product;
    std::string vendorId;  // four hexadecimal digits, e.g. "0403"
    std::string productId;
    std::string serialNumber;
};

// A serial port found in sysfs.
struct CTtyPort {
    std::string name;         // e.g. "ttyUSB0"
    std::string devicePath;   // <dev>/<name>
    std::string stablePath;   // its <dev>/serial/by-id/ link where one exists, else devicePath
    std::string description;  // USB: manufacturer and product joined by a blank; else empty
    int ttySIndex = -1;       // k of a ttyS<k> with a UART present; -1 for every other port
    std::string driver;       // the kernel driver of the port's device, e.g. "ftdi_sio"
    CUsbIdentity usb;         // empty for a port that is not on USB
};

// Reads the serial ports present from sysfs: every <sys>/class/tty/<name>
// with a "device" link, a ttyS<k> only when its "type" is not 0 (a UART is
// there). The roots are parameters so that tests can build a fake tree.
class CTtyScanner {
public:
    explicit CTtyScanner(std::string sysRoot = "/sys", std::string devRoot = "/dev");

    // False when sysfs cannot be read; the ports come out in natural name
    // order (ttyS2 before ttyS10, ttyUSB0 before ttyUSB1).
    bool Scan(std::vector<CTtyPort>& ports) const;

    // True if ttyS<k> is a usable port: sysfs says a UART is present, or,
    // when sysfs cannot be read, its device node exists.
    bool IsUartPresent(int k) const;

    const std::string& DevRoot() const { return m_devRoot; }

    // The USB device with this serial number (<sys>/bus/usb/devices), for an
    // adapter that the D2XX library drives without a tty; false if none.
    bool UsbDeviceBySerial(const std::string& serialNumber, CUsbIdentity& usb) const;

    // Where the tty <name> sits in sysfs: its canonical device folder and,
    // for a port on USB, the USB device's folder (its path names the USB
    // port it hangs on) and texts. False if sysfs has no device for it.
    bool DeviceOf(const std::string& name, std::string& sysDevice, std::string& usbDevice,
                  CUsbIdentity& usb) const;

private:
    CUsbIdentity UsbOf(const std::string& name) const;
    std::string StablePath(const std::string& devicePath) const;

    std::string m_sysRoot;
    std::string m_devRoot;
};

// True if both paths name the same file, after normalising them and
// following symbolic links (a by-id link and its /dev node are the same).
bool SamePath(const std::string& a, const std::string& b);

// True if path (after symbolic links) is a character device.
bool IsCharacterDevice(const std::string& path);
