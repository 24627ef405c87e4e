#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// How a program is started: more environment, a last step in the child, and
// whether standard error is read too.
struct CChildOptions {
    std::vector<std::string> environment;  // "NAME=value" added to the test's own
    // Runs in the child just before exec: async-signal-safe calls only.
    std::function<void()> beforeExec;
    bool captureErrors = false;  // standard error into a pipe too (see Finish)
};

// Runs one of the tool programs from the build's bin folder with pipes on its standard input
// and output, for tests of the programs themselves.
class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess();  // kills the program if it still runs
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // The path of a program that sits beside the test program.
    static std::string Beside(const std::string& name);

    using Options = CChildOptions;

    bool Start(const std::vector<std::string>& argv, const Options& options = {});
    // Reads standard output and (if captured) standard error to their end and
    // waits for the exit status; false at the time limit.
    bool Finish(std::string& out, std::string& err, int& status,
                std::chrono::milliseconds limit = std::chrono::seconds(30));
    // One line of standard output without its line feed; false at the time limit or the end.
    bool ReadLine(std::string& line, std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Everything on standard output up to its end or the time limit.
    std::string ReadAll(std::chrono::milliseconds limit = std::chrono::seconds(5));
    bool WriteLine(const std::string& line);
    void Signal(int signal);
    pid_t Pid() const { return m_pid; }
    // The exit status, or -1 when the program has not ended within the limit.
    int Wait(std::chrono::milliseconds limit = std::chrono::seconds(5));

private:
    pid_t m_pid = -1;
    int m_inFd = -1;   // our end of the program's standard input
    int m_outFd = -1;  // our end of its standard output
    int m_errFd = -1;  // our end of its standard error, when captured
    std::string m_strBuffered;
};
