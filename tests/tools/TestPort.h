#pragma once

#include <chrono>
#include <string>

// The program's side of the line for tests: opens a port path like a serial port (raw,
// non-blocking) and reads with time limits.
class CTestPort {
public:
    using Clock = std::chrono::steady_clock;

    explicit CTestPort(const std::string& path);
    ~CTestPort();
    CTestPort(const CTestPort&) = delete;
    CTestPort& operator=(const CTestPort&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const std::string& bytes);

    // Reads until `silence` passes without a byte, or `limit` in all.
    std::string ReadUntilSilent(std::chrono::milliseconds silence,
                                std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Reads until the bytes end with `tail` or `limit` passes.
    std::string ReadUntil(const std::string& tail,
                          std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Reads exactly `count` bytes or until `limit` passes.
    std::string ReadCount(std::size_t count,
                          std::chrono::milliseconds limit = std::chrono::seconds(5));

    // Waits for the line to hang up (POLLHUP/POLLERR, end of file or EIO) within `limit`.
    bool WaitForHangUp(std::chrono::milliseconds limit);

private:
    // One poll and read; false when the line has gone.
    bool ReadSome(std::string& into, std::chrono::milliseconds wait);

    int m_fd = -1;
};
