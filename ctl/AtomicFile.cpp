#include "ctl/AtomicFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>

namespace {

constexpr size_t kSuffixLength = 6;
constexpr int kCreateTries = 100;
constexpr char kSuffixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string RandomSuffix() {
    unsigned char bytes[kSuffixLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Unlikely; a clash is caught by O_EXCL and tried again.
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        for (size_t i = 0; i < kSuffixLength; ++i) {
            bytes[i] = static_cast<unsigned char>(now >> (5 * i));
        }
    }
    std::string suffix;
    for (unsigned char byte : bytes) {
        suffix += kSuffixLetters[byte % (sizeof kSuffixLetters - 1)];
    }
    return suffix;
}

}  // namespace

CAtomicFile::CAtomicFile(int folderFd, std::string name)
    : m_folderFd(folderFd), m_strName(std::move(name)) {}

CAtomicFile::CAtomicFile(const std::string& path) : m_bOwnsFolder(true) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    m_strName = slash == std::string::npos ? path : path.substr(slash + 1);
    m_folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0) {
        m_nError = errno;
    }
}

CAtomicFile::~CAtomicFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_bCommitted && !m_strTemp.empty()) {
        ::unlinkat(m_folderFd, m_strTemp.c_str(), 0);
    }
    if (m_bOwnsFolder && m_folderFd >= 0) {
        ::close(m_folderFd);
    }
}

bool CAtomicFile::IsTemporaryName(const std::string& name) {
    if (name.size() < kSuffixLength + 3 || name[0] != '.' ||
        name[name.size() - kSuffixLength - 1] != '.') {
        return false;
    }
    return std::all_of(name.end() - kSuffixLength, name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

bool CAtomicFile::Fail() {
    m_nError = errno;
    return false;
}

bool CAtomicFile::Create() {
    if (m_folderFd < 0) {
        return false;
    }
    // A hidden name, so that a folder watcher does not take it for a result.
    for (int attempt = 0; attempt < kCreateTries; ++attempt) {
        const std::string temp = "." + m_strName + "." + RandomSuffix();
        m_fd = ::openat(m_folderFd, temp.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            m_strTemp = temp;
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return Fail();
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
    const char* temp = m_strTemp.c_str();
    const char* name = m_strName.c_str();
    if (replace) {
        if (::renameat(m_folderFd, temp, m_folderFd, name) != 0) {
            return Fail();
        }
    } else if (::renameat2(m_folderFd, temp, m_folderFd, name, RENAME_NOREPLACE) != 0) {
        // File systems without that flag: a hard link refuses an existing name as well.
        if (errno != EINVAL || ::linkat(m_folderFd, temp, m_folderFd, name, 0) != 0) {
            return Fail();
        }
        ::unlinkat(m_folderFd, temp, 0);
    }
    m_bCommitted = true;
    if (::fsync(m_folderFd) != 0) {
        // Not known to be on disk: no file under the final name either.
        Fail();
        ::unlinkat(m_folderFd, name, 0);
        return false;
    }
    return true;
}
