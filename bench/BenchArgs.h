#pragma once

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

// The benchmarks' options ("--name value" and bare "--flag"), and where their
// programs are.
namespace BenchArgs {

inline double Option(int argc, char** argv, const char* name, double fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return std::atof(argv[i + 1]);
        }
    }
    return fallback;
}

inline bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return true;
        }
    }
    return false;
}

// A program built into the same folder as the running benchmark.
inline std::string Beside(const std::string& name) {
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

}  // namespace BenchArgs
