// orvane-emulator: a stand-in for the Orvane reader on a pseudo-terminal, for trying the tool
// without hardware and for scripts. Prints the port path as its first line on standard output.

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/emulator/EmulatorCommandLine.h"
#include "tools/emulator/EmulatorConsole.h"
#include "tools/emulator/ReaderEmulator.h"
#include "tools/emulator/RequestLog.h"

namespace {

// Reads complete lines from standard input without blocking the signal watch.
class CLineReader {
public:
    // False at end of input or on a read error.
    bool Read(std::vector<std::string>& lines) {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            return true;
        }
        if (n <= 0) {
            return false;
        }
        m_strPending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end = m_strPending.find('\n'); end != std::string::npos;
             end = m_strPending.find('\n')) {
            lines.push_back(m_strPending.substr(0, end));
            m_strPending.erase(0, end + 1);
        }
        if (m_strPending.size() > 4096) {
            m_strPending.clear();  // no line is that long; drop it rather than grow
        }
        return true;
    }

private:
    std::string m_strPending;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 0 ? argv[0] : "orvane-emulator";
    CEmulatorCommandLine commandLine;
    if (!commandLine.Parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc))) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), commandLine.Error().c_str(),
                     CEmulatorCommandLine::Usage(program).c_str());
        return 2;
    }
    if (commandLine.HelpWanted()) {
        std::fputs(CEmulatorCommandLine::Usage(program).c_str(), stdout);
        return 0;
    }
    if (commandLine.VersionWanted()) {
        std::printf("orvane-emulator (Orvane) %s\n", ORVANE_PRODUCT_VERSION);
        return 0;
    }

    // Signals are taken through a descriptor; blocked before any thread starts so that every
    // thread inherits the mask and only the main loop sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("signalfd");
        return 1;
    }

    CRequestLog log;
    if (!log.Open(commandLine.LogPath())) {
        std::fprintf(stderr, "%s: cannot open the log file %s\n", program.c_str(),
                     commandLine.LogPath().c_str());
        return 1;
    }
    CReaderEmulator emulator(commandLine.Options());
    emulator.SetFault(commandLine.Fault());
    emulator.SetRequestObserver([&log](const std::string& bytes, bool complete) {
        log.Write(CRequestLog::RequestText(bytes, complete));
    });
    if (!emulator.Start()) {
        std::fprintf(stderr, "%s: cannot open a pseudo-terminal%s%s\n", program.c_str(),
                     commandLine.Options().linkPath.empty() ? "" : " or make the link ",
                     commandLine.Options().linkPath.c_str());
        return 1;
    }
    std::printf("%s\n", emulator.PortPath().c_str());
    std::fflush(stdout);

    CEmulatorConsole console(emulator);
    log.Write("started: " + console.Execute("status") +
              (emulator.LinkPath().empty() ? "" : ", link " + emulator.LinkPath()));

    CLineReader input;
    bool inputOpen = true;
    for (;;) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, inputOpen ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            [[maybe_unused]] const ssize_t n = ::read(signalFd, &info, sizeof info);
            log.Write("stopping on signal " + std::to_string(info.ssi_signo));
            break;
        }
        if (inputOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            std::vector<std::string> lines;
            // Without input (e.g. started with </dev/null) the emulator just goes on.
            inputOpen = input.Read(lines);
            for (const std::string& line : lines) {
                const std::string answer = console.Execute(line);
                if (!answer.empty()) {
                    std::printf("%s\n", answer.c_str());
                    std::fflush(stdout);
                    log.Write("console: " + line + " -> " + answer);
                }
            }
        }
    }
    emulator.Stop();
    ::close(signalFd);
    return 0;
}
