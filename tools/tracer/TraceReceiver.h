#pragma once

#include <chrono>
#include <string>

// The viewer's end of the trace socket: a Unix datagram socket bound at a path, readable only
// by its owner (mode 0600). A socket file left behind by a viewer that is gone is replaced;
// a live viewer's socket, or any other kind of file, is left alone.
class CTraceReceiver {
public:
    CTraceReceiver() = default;
    ~CTraceReceiver();  // Close()
    CTraceReceiver(const CTraceReceiver&) = delete;
    CTraceReceiver& operator=(const CTraceReceiver&) = delete;

    // False with Error() set when the path is too long, taken by a running viewer or by a
    // file that is not a socket, or the socket cannot be made.
    bool Bind(const std::string& path);
    // Closes the socket and removes its file.
    void Close();

    int Descriptor() const { return m_fd; }
    const std::string& Error() const { return m_strError; }

    // Waits up to `wait` for one datagram; its length, 0 when none came, -1 on error.
    long Receive(void* buffer, std::size_t size, std::chrono::milliseconds wait);

private:
    int m_fd = -1;
    std::string m_strPath;
    std::string m_strError;
};
