#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/SerialEngine.h"

// Called on the monitor thread for every received byte, before it is stored.
using ByteHook = void (*)(uint8_t byte);

// The only path to the reader: the serial engine plus a reply buffer filled
// byte by byte on the monitor thread, a silence-based reply wait that keeps
// the user interface alive, a per-byte hook, and a trace of every received
// byte. Every reader command is one transaction: clear, send, wait, judge.
class CReaderProtocol : public CSerialEngine {
public:
    CReaderProtocol();
    ~CReaderProtocol() override;

    // Silence time-out of the reply wait, set by the owner when the link opens.
    std::atomic<uint32_t> m_timeoutMs{500};
    // Installed and removed on the UI thread, called on the monitor thread.
    std::atomic<ByteHook> m_pfnByteHook{nullptr};

    void ClearReply();
    void MarkActivity();
    bool ReplyComplete();

    // Clock, records and maintenance.
    bool ReadClock(std::string& text);
    bool SetClock(const std::string& digits);
    bool ReadRecords(std::string& text);
    bool ClearBuffer();
    bool MemoryTest();
    bool ReadParameters(std::string& text);

    // Configuration and key numbers.
    bool SetId(const std::string& id);
    bool SetMode(const std::string& digit);
    bool SetNumberFormat(const std::string& digit);
    bool SetTimeFormat(const std::string& digit);
    bool SetTimingValue(const std::string& prefix, const std::string& value);
    bool ResetParameters();
    bool ReadKeys(std::string& text);
    bool WriteKeys(std::string keyList);

    // A copy of the bytes received since the last clear.
    std::vector<uint8_t> Reply() const;

protected:
    void OnByteReceived(uint8_t byte) override;

    // The private state (reply buffer, last-activity tick, their guard) and
    // the transaction helpers are the protocol layer's own.
};
