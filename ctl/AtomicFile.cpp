#include "ctl/AtomicFile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

CAtomicFile::CAtomicFile(std::string path) : m_strPath(std::move(path)) {}

CAtomicFile::~CAtomicFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_bCommitted && !m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
    }
}

std::string CAtomicFile::FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool CAtomicFile::Fail() {
    m_nError = errno;
    return false;
}

bool CAtomicFile::Create() {
    const size_t slash = m_strPath.rfind('/');
    const std::string name = slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1);
    // A hidden name, so that a folder watcher does not take it for a result.
    std::string pattern = FolderOf(m_strPath) + "/." + name + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (m_fd < 0) {
        return Fail();
    }
    m_strTemp = buffer.data();
    // mkostemp makes it private; the result is an ordinary file of the user.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return true;
}

bool CAtomicFile::Write(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail();
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool CAtomicFile::Commit(bool replace) {
    if (m_fd >= 0) {
        if (::fsync(m_fd) != 0) {
            return Fail();
        }
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            return Fail();
        }
    }
    if (replace) {
        if (::rename(m_strTemp.c_str(), m_strPath.c_str()) != 0) {
            return Fail();
        }
    } else if (::renameat2(AT_FDCWD, m_strTemp.c_str(), AT_FDCWD, m_strPath.c_str(),
                           RENAME_NOREPLACE) != 0) {
        // File systems without that flag: a hard link refuses an existing name as well.
        if (errno != EINVAL || ::link(m_strTemp.c_str(), m_strPath.c_str()) != 0) {
            return Fail();
        }
        ::unlink(m_strTemp.c_str());
    }
    m_bCommitted = true;
    if (!SyncFolder(FolderOf(m_strPath), m_nError)) {
        // Not known to be on disk: no file under the final name either.
        ::unlink(m_strPath.c_str());
        return false;
    }
    return true;
}

bool CAtomicFile::SyncFolder(const std::string& folder, int& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok) {
        error = errno;
    }
    ::close(fd);
    return ok;
}
