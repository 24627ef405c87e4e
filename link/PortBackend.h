#pragma once

#include <cerrno>
#include <cstdint>
#include <string>

#include "link/LineSettings.h"
#include "link/LinkFailure.h"

// Line error bits reported by QueryErrors (and passed to OnLineError).
constexpr uint32_t kErrRxOverflow = 0x0001;
constexpr uint32_t kErrOverrun = 0x0002;
constexpr uint32_t kErrParity = 0x0004;
constexpr uint32_t kErrFraming = 0x0008;
constexpr uint32_t kErrBreak = 0x0010;
constexpr uint32_t kErrTxFull = 0x0100;
constexpr uint32_t kErrIo = 0x0400;
constexpr uint32_t kErrDeviceGone = 0x0800;

// Modem input lines reported by ModemStatus.
constexpr uint32_t kLineCts = 0x10;
constexpr uint32_t kLineDsr = 0x20;
constexpr uint32_t kLineRing = 0x40;
constexpr uint32_t kLineRlsd = 0x80;

// Event mask bits the engine is opened with.
constexpr uint32_t kEvRxChar = 0x0001;
constexpr uint32_t kEvTxEmpty = 0x0004;
constexpr uint32_t kEvCts = 0x0008;
constexpr uint32_t kEvDsr = 0x0010;
constexpr uint32_t kEvRlsd = 0x0020;
constexpr uint32_t kEvRing = 0x0100;

// Error codes are errno values. EAGAIN means "not yet, try again when the
// port is ready"; the others below mean the device is gone (unplugged, hung
// up, its network connection ended).
inline bool IsPendingError(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}
inline bool IsDeviceGoneError(int error) {
    switch (error) {
        case EIO:
        case ENXIO:
        case ENODEV:
        case ECONNRESET:
        case ECONNABORTED:
        case EPIPE:
        case ETIMEDOUT:
        case ENOTCONN:
        case EHOSTUNREACH:
        case ENETUNREACH:
        case ENETDOWN:
            return true;
        default:
            return false;
    }
}

// One open port, as the engine sees it. Every operation returns false on
// failure and leaves the reason in LastError(). The engine creates one
// backend per Open; all calls after StartMonitoring come from the monitor
// thread only.
class CPortBackend {
public:
    virtual ~CPortBackend() = default;

    // Opens the port named by target (a device path or an adapter's serial
    // number) exclusively for non-blocking reading and writing.
    virtual bool Open(const std::string& target) = 0;
    virtual bool Close() = 0;
    virtual int LastError() const = 0;
    // Adds what the port knows of its last failure beyond LastError() to
    // failure, whose kind and error the engine has set from LastError(): a
    // network port names the server's reasons this way.
    virtual void DescribeFailure(CLinkFailure&) const {}

    // Reads up to size bytes that are already there. No bytes yet: false
    // with EAGAIN. A device that has gone away: false with a gone error.
    virtual bool Read(uint8_t* buffer, uint32_t size, uint32_t& got) = 0;
    // Writes what the port takes now (possibly fewer than size bytes); none
    // at all: false with EAGAIN.
    virtual bool Write(const uint8_t* data, uint32_t size, uint32_t& written) = 0;

    // Returns and clears the line error bits since the last call, and the
    // byte counts waiting in the input and the output queue.
    virtual bool QueryErrors(uint32_t& errors, uint32_t& inQueue, uint32_t& outQueue) = 0;
    // The modem input lines (kLine... bits); a device without them reports 0.
    virtual bool ModemStatus(uint32_t& lines) = 0;

    virtual bool GetSettings(CLineSettings& settings) = 0;
    virtual bool SetSettings(const CLineSettings& settings) = 0;
    virtual bool SetTimeouts(const CPortTimeouts& timeouts) = 0;
    virtual bool SetMask(uint32_t eventMask) = 0;
    // Discards both queues. Failures are of no interest.
    virtual void Purge() = 0;

    // Starts a wait for a line event (input, or a change of a watched modem
    // line). True: an event is there now. False with EAGAIN: the wait is
    // armed; PollDescriptor() becomes readable, or LineEventPending() turns
    // true, when it happens.
    virtual bool WaitEvent() = 0;
    // Checked by the monitor on its 10 ms time-out while a wait is armed:
    // true if a watched modem line has changed since WaitEvent.
    virtual bool LineEventPending() = 0;
    // The descriptor the monitor polls for readiness, or -1: then every
    // pending operation is retried on the monitor's 10 ms time-out.
    virtual int PollDescriptor() const = 0;
};
