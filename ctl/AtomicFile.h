#pragma once

#include <cstddef>
#include <string>
#include <utility>

// A file that appears under its name only whole and on disk: it is written
// under a temporary name in the same folder, flushed to disk, renamed, and
// the folder is flushed too. Before that, and after any failure, only the
// temporary file exists, and it goes when this object goes. Errors are
// errno values.
class CAtomicFile {
public:
    explicit CAtomicFile(std::string path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool Create();
    bool Write(const void* data, size_t size);
    // Gives the file its name. replace false: a file of that name stays and
    // the result is false with EEXIST; SetPath and Commit may try another.
    bool Commit(bool replace);
    // Another final name in the same folder, before Commit.
    void SetPath(std::string path) { m_strPath = std::move(path); }

    const std::string& Path() const { return m_strPath; }
    int Error() const { return m_nError; }

    // Flushes a folder's entries to disk.
    static bool SyncFolder(const std::string& folder, int& error);
    static std::string FolderOf(const std::string& path);

private:
    bool Fail();

    std::string m_strPath;
    std::string m_strTemp;
    int m_fd = -1;
    int m_nError = 0;
    bool m_bCommitted = false;
};
