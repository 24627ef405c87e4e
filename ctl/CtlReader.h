#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "protocol/ReaderProtocol.h"

// orvanectl's reader protocol: no reply wait outlasts a ceiling or a caught
// SIGTERM, SIGINT or SIGHUP, and the line errors during each request are
// counted, so that a damaged reply is never taken for a sound one.
class CCtlReader : public CReaderProtocol {
public:
    enum class Stop { None, Signal, Ceiling };

    // Larger than any reply the reader can send; a reply that grows beyond
    // it is a line that chatters.
    static constexpr size_t kMaxReplyBytes = 1u << 20;

    // Sets the time ceiling of every reply wait from the line's baud rate:
    // the wire time of the largest reply, a tenth of it more, the reply
    // time-out and a minute.
    void SetCeiling(unsigned baudRate);
    uint32_t CeilingMs() const { return m_ceilingMs; }

    // Why the last reply wait was stopped, and what it had received by then.
    Stop Stopped() const { return m_stop; }
    size_t StoppedAtBytes() const { return m_stoppedBytes; }
    uint32_t StoppedAtMs() const { return m_stoppedMs; }

    // Line errors (overrun, framing, parity, a failed read) since the last
    // request went out. Readable on any thread.
    unsigned LineErrors() const { return m_lineErrors.load(); }

    // Called by the engine on the monitor thread. A vanished device is not
    // counted: its reply is cut short, which fails the request anyway.
    void OnLineError(uint32_t errors) override;

protected:
    void OnRequest() override;
    bool StopWait(size_t bytes, uint32_t elapsedMs) override;

private:
    std::atomic<unsigned> m_lineErrors{0};
    uint32_t m_ceilingMs = 0;
    Stop m_stop = Stop::None;
    size_t m_stoppedBytes = 0;
    uint32_t m_stoppedMs = 0;
};
