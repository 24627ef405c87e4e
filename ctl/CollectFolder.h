#pragma once

#include <sys/types.h>

#include <string>

// The folder that collect writes to: a lock file ("collect.lock", held with
// flock for the whole run) that keeps a second collect out of the same
// folder, and the log "collect.log" with one line per outcome, each flushed
// to disk. Errors are errno values.
class CCollectFolder {
public:
    enum class LockResult { Locked, Busy, Failed };

    explicit CCollectFolder(std::string path);
    ~CCollectFolder();  // releases the lock
    CCollectFolder(const CCollectFolder&) = delete;
    CCollectFolder& operator=(const CCollectFolder&) = delete;

    // Busy: another process holds it; Holder() is its PID when it wrote one.
    LockResult Lock();
    pid_t Holder() const { return m_holder; }

    // Appends the line (a line feed is added) and flushes the log to disk.
    bool AppendLog(const std::string& line);

    const std::string& Path() const { return m_strPath; }
    int Error() const { return m_nError; }

private:
    std::string m_strPath;
    int m_lockFd = -1;
    pid_t m_holder = 0;
    int m_nError = 0;
};
