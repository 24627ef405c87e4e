#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tools/emulator/ReaderEmulator.h"

// A reader emulator in a child process of its own, so that the CPU time of
// the benchmark's process is the program's alone. Start it before anything
// makes threads (before the QApplication): the child is forked then. It sends
// the given bytes, paced like a line of the given baud rate, when told to.
class CEmulatorProcess {
public:
    bool Start(const std::string& bytes, unsigned baud) {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
            return false;
        }
        m_pid = fork();
        if (m_pid < 0) {
            return false;
        }
        if (m_pid == 0) {
            close(toChild[1]);
            close(fromChild[0]);
            _exit(RunChild(toChild[0], fromChild[1], bytes, baud));
        }
        close(toChild[0]);
        close(fromChild[1]);
        m_toChild = toChild[1];
        m_fromChild = fromChild[0];
        // The child answers with its port's path and a line feed.
        char c;
        while (read(m_fromChild, &c, 1) == 1 && c != '\n') {
            m_portPath += c;
        }
        return !m_portPath.empty();
    }

    const std::string& PortPath() const { return m_portPath; }

    // The child starts sending.
    bool Go() { return write(m_toChild, "g", 1) == 1; }

    ~CEmulatorProcess() {
        if (m_toChild >= 0) {
            close(m_toChild);  // the child ends when it reads the end
        }
        if (m_fromChild >= 0) {
            close(m_fromChild);
        }
        if (m_pid > 0) {
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
    }

private:
    static int RunChild(int control, int report, const std::string& bytes, unsigned baud) {
        EmulatorOptions options;
        options.baudRate = baud;
        CReaderEmulator emulator(options);
        if (!emulator.Start()) {
            return 1;
        }
        const std::string path = emulator.PortPath() + "\n";
        if (write(report, path.data(), path.size()) != static_cast<ssize_t>(path.size())) {
            return 1;
        }
        char c;
        if (read(control, &c, 1) != 1) {
            return 1;
        }
        emulator.Send({{std::chrono::microseconds(0), bytes}});
        while (read(control, &c, 1) == 1) {
        }
        emulator.Stop();
        return 0;
    }

    pid_t m_pid = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
    std::string m_portPath;
};
