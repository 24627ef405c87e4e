#pragma once

#include <map>
#include <string>
#include <vector>

// A process that holds a device or has it open.
struct CDeviceHolder {
    int pid = 0;         // 0: nobody found
    std::string name;    // its command name (/proc/<pid>/comm)
    bool locks = false;  // it holds the device's lock (flock or POSIX), which keeps others out

    bool operator==(const CDeviceHolder&) const = default;
};

// Finds who holds the given device nodes, in one pass: the holders of a lock
// on the node (<proc>/locks) first, then the processes that merely have it
// open (<proc>/<pid>/fd), each in pid order. The master side of a
// pseudo-terminal (a process with /dev/ptmx open on that terminal) is the
// other end of the line, not a holder, and is left out. Processes whose
// descriptors cannot be read (another user's, without privileges) are
// skipped as openers, and this process is no holder. Devices nobody holds are missing.
std::map<std::string, std::vector<CDeviceHolder>> FindDeviceHolders(
    const std::vector<std::string>& devices, const std::string& procRoot = "/proc");
