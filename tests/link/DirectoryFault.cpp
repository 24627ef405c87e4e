#include "DirectoryFault.h"

#include <dirent.h>
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {
enum class Fault { Off, Armed, EntrySeen };
std::atomic<Fault> g_fault{Fault::Off};

using ReadDir = dirent* (*)(DIR*);

bool IsDotEntry(const dirent* entry) {
    return std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0;
}
}  // namespace

extern "C" dirent* readdir(DIR* directory) {
    if (g_fault.load() == Fault::EntrySeen) {
        g_fault = Fault::Off;
        errno = EIO;
        return nullptr;
    }
    static const auto real = reinterpret_cast<ReadDir>(::dlsym(RTLD_NEXT, "readdir"));
    dirent* entry = real(directory);
    if (entry != nullptr && g_fault.load() == Fault::Armed && !IsDotEntry(entry)) {
        g_fault = Fault::EntrySeen;
    }
    return entry;
}

CDirectoryFault::CDirectoryFault() {
    g_fault = Fault::Armed;
}

CDirectoryFault::~CDirectoryFault() {
    g_fault = Fault::Off;
}
