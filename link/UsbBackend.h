#pragma once

#include <string>

#include "link/Ftd2xxBinding.h"
#include "link/PortBackend.h"

// An FTDI USB adapter through the D2XX library's W32 functions, opened by its
// serial number. The library offers no descriptor to poll and only
// non-overlapped I/O on Linux (null OVERLAPPED, a handle opened without the
// overlapped flag), so reads return at once with what is there, writes are
// cut into short pieces, and the monitor polls this port on its 10 ms time-out. The library's error
// codes are translated to the errno values the engine understands.
class CUsbBackend : public CPortBackend {
public:
    static constexpr ftd2xx::UCHAR kLatencyMs = 2;
    // Writes are cut to what the line carries in about 100 ms (at least
    // this many bytes), so that a long key list never holds the monitor.
    static constexpr uint32_t kMinWriteChunk = 16;
    static constexpr ftd2xx::DWORD kDefaultBaud = 19200;

    explicit CUsbBackend(CFtd2xxBinding& binding) : m_binding(binding) {}
    ~CUsbBackend() override;

    CUsbBackend(const CUsbBackend&) = delete;
    CUsbBackend& operator=(const CUsbBackend&) = delete;

    bool Open(const std::string& serialNumber) override;
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
    // Every check is a poll: an event is always "there now".
    bool WaitEvent() override { return true; }
    bool LineEventPending() override { return false; }
    int PollDescriptor() const override { return -1; }

    // The errno value for one of the library's (Windows) error codes.
    static int TranslateError(ftd2xx::DWORD code);

private:
    bool Fail();
    int OpenError(const std::string& serialNumber);

    CFtd2xxBinding& m_binding;
    ftd2xx::FT_HANDLE m_handle = nullptr;
    ftd2xx::FTDCB m_dcb{};
    int m_lastError = 0;
};
