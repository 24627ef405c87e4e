#pragma once

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

// A pseudo-terminal in raw mode: the benchmarks write into the master and the
// link (or a plain loop) reads the slave by its path. Both ends close with it.
struct RawPty {
    int master = -1;
    int slave = -1;
    std::string path;

    bool Open() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            return false;
        }
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        path = name;
        return true;
    }
    ~RawPty() {
        for (int fd : {master, slave}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
};
