#pragma once

// While an object of this class lives, the first directory read that follows
// a read of an entry (not "." or "..") fails with EIO, once: a directory walk
// breaks off part way, as on a device that fails mid-listing. The test
// program's own readdir stands in for the C library's to do this.
class CDirectoryFault {
public:
    CDirectoryFault();
    ~CDirectoryFault();
    CDirectoryFault(const CDirectoryFault&) = delete;
    CDirectoryFault& operator=(const CDirectoryFault&) = delete;
};
