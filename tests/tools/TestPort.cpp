#include "TestPort.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

using namespace std::chrono;

CTestPort::CTestPort(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        return;
    }
    termios settings{};
    if (::tcgetattr(m_fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }
}

CTestPort::~CTestPort() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CTestPort::Write(const std::string& bytes) {
    std::size_t done = 0;
    const auto end = Clock::now() + seconds(5);
    while (done < bytes.size() && Clock::now() < end) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd fd{m_fd, POLLOUT, 0};
            ::poll(&fd, 1, 10);
        }
    }
    return done == bytes.size();
}

bool CTestPort::ReadSome(std::string& into, milliseconds wait) {
    pollfd fd{m_fd, POLLIN, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(std::max<long long>(wait.count(), 0)));
    if (ready <= 0) {
        return true;
    }
    char buffer[4096];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return true;
    }
    return false;
}

std::string CTestPort::ReadUntilSilent(milliseconds silence, milliseconds limit) {
    std::string bytes;
    const auto end = Clock::now() + limit;
    auto last = Clock::now();
    while (Clock::now() < end) {
        const std::size_t before = bytes.size();
        if (!ReadSome(bytes, milliseconds(5))) {
            break;
        }
        if (bytes.size() != before) {
            last = Clock::now();
        } else if (Clock::now() - last > silence) {
            break;
        }
    }
    return bytes;
}

std::string CTestPort::ReadUntil(const std::string& tail, milliseconds limit) {
    std::string bytes;
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (bytes.size() >= tail.size() &&
            bytes.compare(bytes.size() - tail.size(), tail.size(), tail) == 0) {
            break;
        }
        if (!ReadSome(bytes, milliseconds(10))) {
            break;
        }
    }
    return bytes;
}

std::string CTestPort::ReadCount(std::size_t count, milliseconds limit) {
    std::string bytes;
    const auto end = Clock::now() + limit;
    while (bytes.size() < count && Clock::now() < end) {
        if (!ReadSome(bytes, milliseconds(10))) {
            break;
        }
    }
    return bytes;
}

bool CTestPort::WaitForHangUp(milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, 10) > 0) {
            if (fd.revents & (POLLHUP | POLLERR)) {
                return true;
            }
            char byte;
            const ssize_t n = ::read(m_fd, &byte, 1);
            if (n == 0 || (n < 0 && errno == EIO)) {
                return true;
            }
        }
    }
    return false;
}
