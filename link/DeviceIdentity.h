#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

#include "link/TtyScanner.h"

// What tells one serial device from another that later appears under the
// same name: an adapter without a serial number comes back as /dev/ttyUSB0
// like any other, and a new pseudo-terminal takes the number a closed one
// freed. Read when a port opens, compared when its name is there again.
class CDeviceIdentity {
public:
    enum class Match {
        Absent,  // nothing (or no character device) under the name
        Same,    // the device that was opened, back again
        Other,   // another device now holds the name
    };

    // The device that path names now (after symbolic links); sysfs and /dev
    // through the scanner's roots.
    static CDeviceIdentity Read(const std::string& path, const CTtyScanner& scanner);

    // Whether now (read later from the same path) is this device again:
    // a USB device by its vendor, product and serial number, or by the USB
    // port it hangs on when it has no serial number; another port known to
    // sysfs by its device; a device that sysfs does not know (a
    // pseudo-terminal) only while it is the very node, or when the link that
    // named it was made anew, as udev and the emulator do on plugging.
    Match Compare(const CDeviceIdentity& now) const;

    bool Present() const { return m_bPresent; }
    const CUsbIdentity& Usb() const { return m_usb; }

private:
    struct Stamp {
        dev_t dev = 0;
        ino_t ino = 0;
        timespec ctime{};
        bool operator==(const Stamp& other) const;
    };

    bool m_bPresent = false;
    dev_t m_rdev = 0;
    // The device node itself; a new pseudo-terminal under a freed number is
    // told apart by its change time, from a clock that ticks every few ms.
    Stamp m_node;
    bool m_bViaLink = false;
    Stamp m_link;                // the symbolic link the path is, if it is one
    std::string m_strSysDevice;  // canonical sysfs device of the tty, or empty
    std::string m_strUsbDevice;  // canonical sysfs USB device (its port path), or empty
    CUsbIdentity m_usb;
};
