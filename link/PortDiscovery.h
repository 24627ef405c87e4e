#pragma once

#include <string>
#include <vector>

#include "link/PortFacts.h"

// The list of COM ports for the interface selection: "\\.\COM<n>", followed
// by " [description]" for devices whose description begins with the maker's
// word "Meridel" (any letter case), in numeric order. Ports come from sysfs
// (present ports, in use or not) plus the "Devices" entries whose path is a
// character device or a network address (never connected to here); when
// sysfs cannot be read, COM1 to COM255 are probed by opening and closing
// them (network entries are listed without), so a port in use is missing then.
class CPortDiscovery {
public:
    explicit CPortDiscovery(std::string sysRoot = "/sys", std::string devRoot = "/dev");

    // Always true; the list is emptied first.
    bool EnumerateComPorts(std::vector<std::string>& list) const;
    // False if sysfs cannot be read; true otherwise, also when no port is there.
    bool EnumeratePortClass(std::vector<std::string>& list) const;
    // Inserts entry before the first one with a greater port number (the
    // digits from the eighth character on); equal numbers keep their order.
    static void InsertPortSorted(std::vector<std::string>& list, const std::string& entry);

    // The facts of each interface list entry ("COM<n>" with or without the
    // device prefix and description, or "USB: " and a serial number), in
    // the entries' order. One look at sysfs and one at the open descriptors;
    // for a network entry, the program holding a connection to its address
    // (when the host is written as an address).
    std::vector<CPortFacts> Describe(const std::vector<std::string>& entries) const;

private:
    void Probe(std::vector<std::string>& list) const;

    std::string m_sysRoot;
    std::string m_devRoot;
};
