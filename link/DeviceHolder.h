#pragma once

#include <map>
#include <string>
#include <vector>

// A process that has a device open.
struct CDeviceHolder {
    int pid = 0;       // 0: nobody found
    std::string name;  // its command name (/proc/<pid>/comm)
};

// Looks through the open descriptors of every process (/proc/<pid>/fd) for
// the given device nodes, in one pass. Processes whose descriptors cannot be
// read (another user's, without privileges) are skipped, and so is this
// process. The result maps each device found (as given) to the holder with
// the lowest pid.
std::map<std::string, CDeviceHolder> FindDeviceHolders(const std::vector<std::string>& devices,
                                                       const std::string& procRoot = "/proc");
