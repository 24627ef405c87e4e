#pragma once

#include <cstddef>
#include <string>
#include <utility>

// A file that appears under its name only whole and on disk: it is written
// under a temporary name in the same folder, flushed to disk, renamed, and
// the folder is flushed too. Before that, and after any failure, only the
// temporary file exists, and it goes when this object goes. The file is
// made 0600 whatever the umask: it holds personal data. Everything happens
// through a descriptor of the folder, so that a folder swapped meanwhile
// cannot take the file. Errors are errno values.
class CAtomicFile {
public:
    // The file `name` in the folder open as folderFd (not owned).
    CAtomicFile(int folderFd, std::string name);
    // The file at `path`; its folder is opened here.
    explicit CAtomicFile(const std::string& path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool Create();
    bool Write(const void* data, size_t size);
    // Gives the file its name. replace false: a file of that name stays and
    // the result is false with EEXIST; SetName and Commit may try another.
    bool Commit(bool replace);
    // Another final name in the same folder, before Commit.
    void SetName(std::string name) { m_strName = std::move(name); }

    const std::string& Name() const { return m_strName; }
    int Error() const { return m_nError; }

    // True for the names Create gives: "." + the final name + "." and six
    // letters or digits.
    static bool IsTemporaryName(const std::string& name);

private:
    bool Fail();

    int m_folderFd = -1;
    bool m_bOwnsFolder = false;
    std::string m_strName;
    std::string m_strTemp;
    int m_fd = -1;
    int m_nError = 0;
    bool m_bCommitted = false;
};
