#include "ChildProcess.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

using namespace std::chrono;

CChildProcess::~CChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_inFd >= 0) {
        ::close(m_inFd);
    }
    if (m_outFd >= 0) {
        ::close(m_outFd);
    }
}

std::string CChildProcess::Beside(const std::string& name) {
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

bool CChildProcess::Start(const std::vector<std::string>& argv) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        return false;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return false;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    m_inFd = in[1];
    m_outFd = out[0];
    return m_pid > 0;
}

bool CChildProcess::ReadLine(std::string& line, milliseconds limit) {
    const auto end = steady_clock::now() + limit;
    for (;;) {
        const std::size_t newline = m_strBuffered.find('\n');
        if (newline != std::string::npos) {
            line = m_strBuffered.substr(0, newline);
            m_strBuffered.erase(0, newline + 1);
            return true;
        }
        const auto left = duration_cast<milliseconds>(end - steady_clock::now());
        pollfd fd{m_outFd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char buffer[1024];
        const ssize_t n = ::read(m_outFd, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        m_strBuffered.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string CChildProcess::ReadAll(milliseconds limit) {
    const auto end = steady_clock::now() + limit;
    for (;;) {
        const auto left = duration_cast<milliseconds>(end - steady_clock::now());
        pollfd fd{m_outFd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[1024];
        const ssize_t n = ::read(m_outFd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        m_strBuffered.append(buffer, static_cast<std::size_t>(n));
    }
    std::string all;
    all.swap(m_strBuffered);
    return all;
}

bool CChildProcess::WriteLine(const std::string& line) {
    const std::string text = line + "\n";
    return ::write(m_inFd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

void CChildProcess::Signal(int signal) {
    if (m_pid > 0) {
        ::kill(m_pid, signal);
    }
}

int CChildProcess::Wait(milliseconds limit) {
    const auto end = steady_clock::now() + limit;
    while (m_pid > 0) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (steady_clock::now() >= end) {
            return -1;
        }
        std::this_thread::sleep_for(5ms);
    }
    return -1;
}
