#pragma once

#include <string>
#include <vector>

#include "link/DeviceHolder.h"
#include "link/TtyScanner.h"

// What Linux knows about one entry of the interface list ("COM3",
// "USB: A1B2C3"), so that the operator can tell which port is which.
struct CPortFacts {
    std::string entry;       // the entry described ("USB: " + serial number: a D2XX adapter)
    std::string devicePath;  // its device node; empty for an adapter the D2XX library drives
    std::string byId;        // the name of its /dev/serial/by-id link, or empty
    std::string driver;      // the kernel driver, e.g. "ftdi_sio"
    CUsbIdentity usb;        // empty when the port is not on USB
    CDeviceHolder
        holder;  // the program that holds it, else the first that has it open; pid 0 if none
    std::vector<CDeviceHolder> others;  // further programs that have it open
    std::string network;  // the network address the entry stands for, as entered; else empty
};
