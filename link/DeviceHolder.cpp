#include "link/DeviceHolder.h"

#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>

namespace {

bool IsNumber(const char* text) {
    if (*text == '\0') {
        return false;
    }
    for (; *text != '\0'; ++text) {
        if (!std::isdigit(static_cast<unsigned char>(*text))) {
            return false;
        }
    }
    return true;
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

}  // namespace

std::map<std::string, CDeviceHolder> FindDeviceHolders(const std::vector<std::string>& devices,
                                                       const std::string& procRoot) {
    std::map<std::string, CDeviceHolder> holders;
    std::map<std::string, std::vector<std::string>> wanted;  // kernel path -> devices as given
    for (const std::string& device : devices) {
        wanted[KernelPath(device)].push_back(device);
    }
    if (wanted.empty()) {
        return holders;
    }
    DIR* proc = ::opendir(procRoot.c_str());
    if (proc == nullptr) {
        return holders;
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
        const std::string fdFolder = procRoot + "/" + process->d_name + "/fd";
        DIR* fds = ::opendir(fdFolder.c_str());
        if (fds == nullptr) {
            continue;  // gone meanwhile, or not ours to read
        }
        while (const dirent* fd = ::readdir(fds)) {
            if (!IsNumber(fd->d_name)) {
                continue;
            }
            char target[PATH_MAX];
            const ssize_t n =
                ::readlink((fdFolder + "/" + fd->d_name).c_str(), target, sizeof target - 1);
            if (n <= 0) {
                continue;
            }
            const auto it = wanted.find(std::string(target, static_cast<size_t>(n)));
            if (it == wanted.end()) {
                continue;
            }
            for (const std::string& device : it->second) {
                CDeviceHolder& holder = holders[device];
                if (holder.pid == 0 || pid < holder.pid) {
                    holder.pid = pid;
                    holder.name = CommandName(procRoot, pid);
                }
            }
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return holders;
}
