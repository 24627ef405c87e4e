#include "ctl/CollectFolder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ctl/AtomicFile.h"

namespace {

constexpr int kFileFlags = O_CLOEXEC | O_NOFOLLOW;
constexpr mode_t kFileMode = 0600;
constexpr mode_t kFolderMode = 0700;
// Per thread, so that the readers of a list each learn their own failure.
thread_local int t_error = 0;

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) {
            return false;
        }
        done += written > 0 ? static_cast<size_t>(written) : 0;
    }
    return true;
}

}  // namespace

CCollectFolder::CCollectFolder(std::string path) : m_strPath(std::move(path)) {}

CCollectFolder::~CCollectFolder() {
    if (m_lockFd >= 0) {
        // The file stays: removing it could let a third run lock a new one
        // while a second still waits on the old.
        ::close(m_lockFd);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CCollectFolder::Fail() {
    t_error = errno;
    return false;
}

int CCollectFolder::Error() const {
    return t_error;
}

CCollectFolder::OpenResult CCollectFolder::Open() {
    const size_t slash = m_strPath.find_last_of('/');
    const std::string parent = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : m_strPath.substr(0, slash);
    const std::string name = slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") {
        m_fd = ::open(m_strPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        return m_fd >= 0 ? OpenResult::Opened : (Fail(), OpenResult::Failed);
    }
    const int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) {
        Fail();
        return t_error == ENOENT    ? OpenResult::Missing
               : t_error == ENOTDIR ? OpenResult::NotAFolder
                                    : OpenResult::Failed;
    }
    OpenResult result = OpenResult::Opened;
    m_fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | kFileFlags);
    if (m_fd < 0 && errno == ENOENT) {
        // Made private: the files in it hold badge times.
        if (::mkdirat(parentFd, name.c_str(), kFolderMode) == 0) {
            result =
                ::fsync(parentFd) == 0 ? OpenResult::Created : (Fail(), OpenResult::NotCreated);
        } else if (errno != EEXIST) {
            Fail();
            result = OpenResult::NotCreated;
        }
        if (result != OpenResult::NotCreated) {
            m_fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | kFileFlags);
        }
    }
    if (m_fd < 0 && result != OpenResult::NotCreated) {
        Fail();
        struct stat info {};
        if (t_error != ENOTDIR ||
            ::fstatat(parentFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            result = OpenResult::Failed;
        } else if (!S_ISLNK(info.st_mode)) {
            result = OpenResult::NotAFolder;
        } else {
            m_fd = OpenLink(parentFd, name);
            result = m_fd >= 0            ? OpenResult::Opened
                     : t_error == EPERM   ? OpenResult::Untrusted
                     : t_error == ENOTDIR ? OpenResult::NotAFolder
                                          : OpenResult::Failed;
        }
    }
    ::close(parentFd);
    return result;
}

// The folder a symbolic link names, read from the link itself so that it
// cannot be swapped between the owner's check and the open.
int CCollectFolder::OpenLink(int parentFd, const std::string& name) {
    const int linkFd = ::openat(parentFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (linkFd < 0) {
        return Fail(), -1;
    }
    struct stat info {};
    std::vector<char> target(4096);
    ssize_t length = -1;
    if (::fstatat(linkFd, "", &info, AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISLNK(info.st_mode) || (info.st_uid != 0 && info.st_uid != ::geteuid())) {
            errno = EPERM;
        } else {
            length = ::readlinkat(linkFd, "", target.data(), target.size() - 1);
        }
    }
    if (length <= 0) {
        Fail();
        ::close(linkFd);
        return -1;
    }
    ::close(linkFd);
    target[static_cast<size_t>(length)] = '\0';
    const int fd = ::openat(target[0] == '/' ? AT_FDCWD : parentFd, target.data(),
                            O_RDONLY | O_DIRECTORY | kFileFlags);
    if (fd < 0) {
        Fail();
    }
    return fd;
}

CCollectFolder::LockResult CCollectFolder::Lock() {
    m_lockFd = ::openat(m_fd, "collect.lock", O_RDWR | O_CREAT | kFileFlags, kFileMode);
    if (m_lockFd < 0) {
        Fail();
        return LockResult::Failed;
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        Fail();
        const bool busy = t_error == EWOULDBLOCK;
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
        Fail();
        return LockResult::Failed;
    }
    return LockResult::Locked;
}

int CCollectFolder::RemoveStale() {
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return 0;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (CAtomicFile::IsTemporaryName(name) && name.find(".txt.") != std::string::npos) {
            stale.push_back(name);
        }
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : stale) {
        removed += ::unlinkat(m_fd, name.c_str(), 0) == 0 ? 1 : 0;
    }
    if (removed > 0) {
        ::fsync(m_fd);
    }
    return removed;
}

bool CCollectFolder::AppendLog(const std::string& line) {
    int fd = ::openat(m_fd, "collect.log", O_WRONLY | O_APPEND | kFileFlags);
    bool created = false;
    if (fd < 0 && errno == ENOENT) {
        fd = ::openat(m_fd, "collect.log", O_WRONLY | O_APPEND | O_CREAT | O_EXCL | kFileFlags,
                      kFileMode);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST) {
            fd = ::openat(m_fd, "collect.log", O_WRONLY | O_APPEND | kFileFlags);
        }
    }
    if (fd < 0) {
        return Fail();
    }
    bool ok = WriteAll(fd, line + "\n") && ::fsync(fd) == 0;
    if (!ok) {
        Fail();
    }
    ::close(fd);
    if (ok && created && ::fsync(m_fd) != 0) {
        ok = Fail();
    }
    return ok;
}

bool CCollectFolder::Remove(const std::string& name) {
    return (::unlinkat(m_fd, name.c_str(), 0) == 0 && ::fsync(m_fd) == 0) || Fail();
}
