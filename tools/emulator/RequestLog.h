#pragma once

#include <cstdio>
#include <mutex>
#include <string>

// The emulator program's log: one time-stamped line per request and per event, flushed at
// once so that scripts and tests can follow it. Thread-safe.
class CRequestLog {
public:
    CRequestLog() = default;
    ~CRequestLog();
    CRequestLog(const CRequestLog&) = delete;
    CRequestLog& operator=(const CRequestLog&) = delete;

    // Appends to `path`; an empty path means standard error.
    bool Open(const std::string& path);
    void Write(const std::string& text);

    // The line text for a request: its bytes, escaped, and what it asks for.
    static std::string RequestText(const std::string& bytes, bool complete);
    // Printable ASCII as it is, every other byte as "<xx>" (two lower-case hex digits).
    static std::string Escape(const std::string& bytes);
    // What the reader is asked to do, e.g. "set clock".
    static std::string Describe(const std::string& request);

private:
    std::mutex m_mutex;
    std::FILE* m_pFile = nullptr;
    bool m_bOwned = false;
};
