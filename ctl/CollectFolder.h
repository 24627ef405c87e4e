#pragma once

#include <sys/types.h>

#include <string>

// The folder that collect writes to, opened once: every file in it is
// reached through that descriptor, so that swapping the folder or planting
// a symbolic link in it cannot redirect a write. In it: a lock file
// ("collect.lock", held with flock for the whole run) that keeps a second
// collect out of the same folder, and the log "collect.log" with one line
// per outcome, each flushed to disk. Files are created 0600. Errors are
// errno values. The readers of a list share one folder: appending to the log
// and removing files may run on several threads at once.
class CCollectFolder {
public:
    enum class OpenResult {
        Opened,
        Created,     // it was missing and is made now, 0700
        Missing,     // neither it nor the folder above it is there
        NotAFolder,  // it is a file, a device, ...
        Untrusted,   // a symbolic link that neither root nor this user owns
        NotCreated,  // it was missing and could not be made; Error() says why
        Failed,      // it could not be opened; Error() says why
    };
    enum class LockResult { Locked, Busy, Failed };

    explicit CCollectFolder(std::string path);
    ~CCollectFolder();  // releases the lock
    CCollectFolder(const CCollectFolder&) = delete;
    CCollectFolder& operator=(const CCollectFolder&) = delete;

    // Opens the folder without following a symbolic link in its place,
    // unless that link belongs to root or to this user (as the links that
    // systemd makes for a unit's state folder do).
    OpenResult Open();
    int Fd() const { return m_fd; }

    // Busy: another process holds it; Holder() is its PID when it wrote one.
    LockResult Lock();
    pid_t Holder() const { return m_holder; }

    // Removes the temporary record files that a run which was killed left
    // behind; only while the lock is held. The number removed.
    int RemoveStale();

    // Appends the line (a line feed is added) and flushes the log to disk;
    // a new log is followed by a flush of the folder.
    bool AppendLog(const std::string& line);
    // Removes a file and flushes the folder.
    bool Remove(const std::string& name);

    const std::string& Path() const { return m_strPath; }
    // The errno of the calling thread's last failed call.
    int Error() const;

private:
    bool Fail();
    int OpenLink(int parentFd, const std::string& name);

    std::string m_strPath;
    int m_fd = -1;
    int m_lockFd = -1;
    pid_t m_holder = 0;
};
