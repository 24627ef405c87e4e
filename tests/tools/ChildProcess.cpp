#include "ChildProcess.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

using namespace std::chrono;
using namespace std::chrono_literals;

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
    if (m_errFd >= 0) {
        ::close(m_errFd);
    }
}

std::string CChildProcess::Beside(const std::string& name) {
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

bool CChildProcess::Start(const std::vector<std::string>& argv, const Options& options) {
    int in[2];
    int out[2];
    int err[2] = {-1, -1};
    if (::pipe2(in, O_CLOEXEC) != 0) {
        return false;
    }
    if (::pipe2(out, O_CLOEXEC) != 0 || (options.captureErrors && ::pipe2(err, O_CLOEXEC) != 0)) {
        for (int fd : {in[0], in[1], out[0], out[1]}) {
            ::close(fd);
        }
        return false;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    // Built before the fork: the child of a threaded test may not allocate.
    std::vector<std::string> environment(options.environment);
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        if (options.captureErrors) {
            ::dup2(err[1], STDERR_FILENO);
        }
        if (options.beforeExec) {
            options.beforeExec();
        }
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    m_inFd = in[1];
    m_outFd = out[0];
    if (options.captureErrors) {
        ::close(err[1]);
        m_errFd = err[0];
    }
    return m_pid > 0;
}

bool CChildProcess::Finish(std::string& out, std::string& err, int& status, milliseconds limit) {
    const auto end = steady_clock::now() + limit;
    out.swap(m_strBuffered);
    m_strBuffered.clear();
    std::string* targets[] = {&out, &err};
    int* fds[] = {&m_outFd, &m_errFd};
    while (m_outFd >= 0 || m_errFd >= 0) {
        const auto left = duration_cast<milliseconds>(end - steady_clock::now());
        pollfd polled[2] = {{m_outFd, POLLIN, 0}, {m_errFd, POLLIN, 0}};
        if (left.count() <= 0 || ::poll(polled, 2, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (polled[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(*fds[i], buffer, sizeof buffer);
            if (n > 0) {
                targets[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(*fds[i]);
                *fds[i] = -1;
            }
        }
    }
    // The pipes close as it ends; give it a moment to be reaped.
    status = Wait(std::max(duration_cast<milliseconds>(end - steady_clock::now()), 5000ms));
    return status >= 0;
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
