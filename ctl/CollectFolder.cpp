#include "ctl/CollectFolder.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

CCollectFolder::CCollectFolder(std::string path) : m_strPath(std::move(path)) {}

CCollectFolder::~CCollectFolder() {
    if (m_lockFd >= 0) {
        // The file stays: removing it could let a third run lock a new one
        // while a second still waits on the old.
        ::close(m_lockFd);
    }
}

CCollectFolder::LockResult CCollectFolder::Lock() {
    const std::string path = m_strPath + "/collect.lock";
    m_lockFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (m_lockFd < 0) {
        m_nError = errno;
        return LockResult::Failed;
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        m_nError = errno;
        const bool busy = errno == EWOULDBLOCK;
        if (busy) {
            char text[32] = {};
            const ssize_t n = ::pread(m_lockFd, text, sizeof text - 1, 0);
            m_holder = n > 0 ? static_cast<pid_t>(std::atol(text)) : 0;
        }
        ::close(m_lockFd);
        m_lockFd = -1;
        return busy ? LockResult::Busy : LockResult::Failed;
    }
    // Who holds it, for the message of a second run.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(m_lockFd, 0) != 0 ||
        ::pwrite(m_lockFd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        m_nError = errno;
        return LockResult::Failed;
    }
    return LockResult::Locked;
}

bool CCollectFolder::AppendLog(const std::string& line) {
    const std::string path = m_strPath + "/collect.log";
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_nError = errno;
        return false;
    }
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) {
            break;
        }
        done += written > 0 ? static_cast<size_t>(written) : 0;
    }
    const bool ok = done == text.size() && ::fsync(fd) == 0;
    if (!ok) {
        m_nError = errno;
    }
    ::close(fd);
    return ok;
}
