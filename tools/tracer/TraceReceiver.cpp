#include "tools/tracer/TraceReceiver.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// True when a viewer is bound at `address` and takes datagrams.
bool SomeoneListens(const sockaddr_un& address) {
    const int probe = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    const bool alive =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return alive;
}

}  // namespace

CTraceReceiver::~CTraceReceiver() {
    Close();
}

bool CTraceReceiver::Bind(const std::string& path) {
    Close();
    sockaddr_un address{};
    if (!MakeAddress(path, address)) {
        m_strError = "socket path is empty or too long: " + path;
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            m_strError = path + " exists and is not a socket; not touching it";
            return false;
        }
        if (SomeoneListens(address)) {
            m_strError = "another trace viewer is running on " + path;
            return false;
        }
        ::unlink(path.c_str());
    }
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_strError = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    // Only the owner may send: the socket file is created 0600, never briefly wider.
    const mode_t previous = ::umask(0177);
    const int bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const int bindErrno = errno;
    ::umask(previous);
    if (bound != 0) {
        ::close(fd);
        m_strError = "bind " + path + ": " + std::strerror(bindErrno);
        return false;
    }
    ::chmod(path.c_str(), 0600);
    m_fd = fd;
    m_strPath = path;
    return true;
}

void CTraceReceiver::Close() {
    if (m_fd < 0) {
        return;
    }
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_strPath.c_str());
    m_strPath.clear();
}

long CTraceReceiver::Receive(void* buffer, std::size_t size, std::chrono::milliseconds wait) {
    if (m_fd < 0) {
        return -1;
    }
    pollfd fd{m_fd, POLLIN, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(wait.count()));
    if (ready < 0) {
        return errno == EINTR ? 0 : -1;
    }
    if (ready == 0) {
        return 0;
    }
    const ssize_t n = ::recv(m_fd, buffer, size, MSG_DONTWAIT);
    if (n < 0) {
        return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
    }
    return static_cast<long>(n);
}
