#include "link/DeviceHolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() && text.size() < 10 && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The path as the kernel names an open descriptor of it: symbolic links followed.
std::string KernelPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string CommandName(const std::string& procRoot, int pid) {
    std::ifstream in(procRoot + "/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// The number of a pseudo-terminal's slave ("/dev/pts/5" -> 5), -1 for other devices.
int PtsIndex(const std::string& kernelPath) {
    const size_t slash = kernelPath.rfind('/');
    if (slash == std::string::npos || slash < 4 || kernelPath.compare(slash - 4, 5, "/pts/") != 0 ||
        !IsNumber(kernelPath.substr(slash + 1))) {
        return -1;
    }
    return std::atoi(kernelPath.c_str() + slash + 1);
}

bool IsPtmx(const std::string& target) {
    return target == "/dev/ptmx" || target == "/dev/pts/ptmx";
}

// The terminal a /dev/ptmx descriptor is the master of, from its fdinfo; -1 if not told.
int MasterIndex(const std::string& fdinfo) {
    std::ifstream in(fdinfo);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("tty-index:", 0) == 0) {
            return std::atoi(line.c_str() + 10);
        }
    }
    return -1;
}

struct Wanted {
    std::vector<std::string> given;  // the devices as the caller named them
    int ptsIndex = -1;
    bool known = false;  // dev and ino are valid
    unsigned long devMajor = 0;
    unsigned long devMinor = 0;
    unsigned long long ino = 0;
    std::set<int> lockers;
    std::set<int> openers;
    std::set<int> masters;
};

// "<id>: FLOCK ADVISORY WRITE <pid> <maj>:<min>:<ino> <start> <end>"; waiters
// ("<id>: -> FLOCK ...") and open file description locks (pid -1) name no holder.
void ReadLocks(const std::string& procRoot, std::map<std::string, Wanted>& wanted) {
    const int self = static_cast<int>(::getpid());
    std::ifstream in(procRoot + "/locks");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string id, type, mode, access, pidText, where;
        if (!(fields >> id >> type >> mode >> access >> pidText >> where) ||
            (type != "FLOCK" && type != "POSIX") || !IsNumber(pidText)) {
            continue;
        }
        unsigned long major = 0;
        unsigned long minor = 0;
        unsigned long long ino = 0;
        if (std::sscanf(where.c_str(), "%lx:%lx:%llu", &major, &minor, &ino) != 3) {
            continue;
        }
        for (auto& [path, device] : wanted) {
            if (device.known && device.devMajor == major && device.devMinor == minor &&
                device.ino == ino) {
                const int pid = std::atoi(pidText.c_str());
                if (pid != self) {
                    device.lockers.insert(pid);
                }
            }
        }
    }
}

void ReadOpeners(const std::string& procRoot, std::map<std::string, Wanted>& wanted) {
    std::map<int, Wanted*> byPts;
    for (auto& [path, device] : wanted) {
        if (device.ptsIndex >= 0) {
            byPts[device.ptsIndex] = &device;
        }
    }
    DIR* proc = ::opendir(procRoot.c_str());
    if (proc == nullptr) {
        return;
    }
    const int self = static_cast<int>(::getpid());
    while (const dirent* process = ::readdir(proc)) {
        if (!IsNumber(process->d_name)) {
            continue;
        }
        const int pid = std::atoi(process->d_name);
        if (pid == self) {
            continue;
        }
        const std::string folder = procRoot + "/" + process->d_name;
        DIR* fds = ::opendir((folder + "/fd").c_str());
        if (fds == nullptr) {
            continue;  // gone meanwhile, or not ours to read
        }
        while (const dirent* fd = ::readdir(fds)) {
            if (!IsNumber(fd->d_name)) {
                continue;
            }
            char target[PATH_MAX];
            const ssize_t n =
                ::readlink((folder + "/fd/" + fd->d_name).c_str(), target, sizeof target - 1);
            if (n <= 0) {
                continue;
            }
            const std::string path(target, static_cast<size_t>(n));
            if (const auto it = wanted.find(path); it != wanted.end()) {
                it->second.openers.insert(pid);
            } else if (!byPts.empty() && IsPtmx(path)) {
                const auto master = byPts.find(MasterIndex(folder + "/fdinfo/" + fd->d_name));
                if (master != byPts.end()) {
                    master->second->masters.insert(pid);
                }
            }
        }
        ::closedir(fds);
    }
    ::closedir(proc);
}

}  // namespace

std::map<std::string, std::vector<CDeviceHolder>> FindDeviceHolders(
    const std::vector<std::string>& devices, const std::string& procRoot) {
    std::map<std::string, Wanted> wanted;  // by kernel path
    for (const std::string& device : devices) {
        const std::string path = KernelPath(device);
        Wanted& entry = wanted[path];
        entry.given.push_back(device);
        entry.ptsIndex = PtsIndex(path);
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            entry.known = true;
            entry.devMajor = major(info.st_dev);
            entry.devMinor = minor(info.st_dev);
            entry.ino = info.st_ino;
        }
    }
    std::map<std::string, std::vector<CDeviceHolder>> holders;
    if (wanted.empty()) {
        return holders;
    }
    ReadLocks(procRoot, wanted);
    ReadOpeners(procRoot, wanted);
    for (const auto& [path, device] : wanted) {
        std::vector<CDeviceHolder> found;
        for (int pid : device.lockers) {
            if (pid > 0) {
                found.push_back({pid, CommandName(procRoot, pid), true});
            }
        }
        for (int pid : device.openers) {
            if (device.lockers.count(pid) == 0 && device.masters.count(pid) == 0) {
                found.push_back({pid, CommandName(procRoot, pid), false});
            }
        }
        if (found.empty()) {
            continue;
        }
        for (const std::string& given : device.given) {
            holders[given] = found;
        }
    }
    return holders;
}
