#include "link/WakeEvent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

CWakeEvent::~CWakeEvent() {
    Close();
}

bool CWakeEvent::Create() {
    Close();
    m_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return m_fd >= 0;
}

void CWakeEvent::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool CWakeEvent::Set() {
    if (m_fd < 0) {
        return false;
    }
    const uint64_t one = 1;
    ssize_t n;
    do {
        n = ::write(m_fd, &one, sizeof one);
    } while (n < 0 && errno == EINTR);
    // A full counter (EAGAIN) is still signalled.
    return n == sizeof one || errno == EAGAIN;
}

void CWakeEvent::Reset() {
    if (m_fd < 0) {
        return;
    }
    uint64_t count;
    ssize_t n;
    do {
        n = ::read(m_fd, &count, sizeof count);
    } while (n < 0 && errno == EINTR);
}
