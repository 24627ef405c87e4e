#pragma once

#include <linux/serial.h>

#include <string>

#include "link/PortBackend.h"

// A serial port device node (ttyS, ttyUSB, ttyACM, a pseudo-terminal, ...)
// driven through termios. Opened non-blocking and exclusively: an flock that
// other opens cannot take, plus TIOCEXCL against programs that do not lock.
// Ioctls a device does not implement (modem lines, error counters on a
// pseudo-terminal) read as "lines off, no errors".
class CComBackend : public CPortBackend {
public:
    CComBackend() = default;
    ~CComBackend() override;

    CComBackend(const CComBackend&) = delete;
    CComBackend& operator=(const CComBackend&) = delete;

    bool Open(const std::string& target) override;
    bool Close() override;
    int LastError() const override { return m_lastError; }

    bool Read(uint8_t* buffer, uint32_t size, uint32_t& got) override;
    bool Write(const uint8_t* data, uint32_t size, uint32_t& written) override;
    bool QueryErrors(uint32_t& errors, uint32_t& inQueue, uint32_t& outQueue) override;
    bool ModemStatus(uint32_t& lines) override;
    bool GetSettings(CLineSettings& settings) override;
    bool SetSettings(const CLineSettings& settings) override;
    bool SetTimeouts(const CPortTimeouts& timeouts) override;
    bool SetMask(uint32_t eventMask) override;
    void Purge() override;
    bool WaitEvent() override;
    bool LineEventPending() override;
    int PollDescriptor() const override { return m_fd; }

private:
    bool Fail();
    bool SetOutputLine(int line, bool on);
    bool ReadCounters(serial_icounter_struct& counters);

    int m_fd = -1;
    int m_lastError = 0;
    uint32_t m_eventMask = 0;
    bool m_bModemLines = true;  // false once the device said it has none
    bool m_bCounters = true;    // false once the device said it has no error counters
    serial_icounter_struct m_counters{};
    uint32_t m_armedLines = 0;  // modem lines when the event wait was armed
};
