#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "link/NetAddress.h"
#include "link/PortBackend.h"
#include "link/TelnetCodec.h"

class CNameLookup;

// A serial port on the network, offered by a device server or ser2net:
// raw TCP ("socket://HOST:PORT", the server's port has its line settings)
// or Telnet with the COM port option ("rfc2217://HOST:PORT", this side sets
// the line). To the engine it is a port like a terminal: one non-blocking
// descriptor to poll, reads that return what is there, every data byte
// exactly as sent, and a hang-up when the connection ends.
//
// Open connects (name lookup included) within kConnectTimeout and learns
// whether the server turned the client away; SetSettings asks the server
// for the line settings and waits up to kAnswerTimeout for its answers.
// Both block the caller, which is the engine's Open.
class CNetBackend : public CPortBackend {
public:
    static constexpr std::chrono::milliseconds kConnectTimeout{4000};
    static constexpr std::chrono::milliseconds kAnswerTimeout{3000};
    // How long a raw server may take to turn a client away after accepting it.
    static constexpr std::chrono::milliseconds kSettleTime{200};
    // A server that turned the client away is asked again, this many times
    // in all and this long apart (within kConnectTimeout): it may still be
    // letting go of this link's own connection, closed a moment ago.
    static constexpr int kBusyAttempts = 3;
    static constexpr std::chrono::milliseconds kBusyPause{250};

    CNetBackend() = default;
    ~CNetBackend() override;

    CNetBackend(const CNetBackend&) = delete;
    CNetBackend& operator=(const CNetBackend&) = delete;

    // target: the address, as CNetAddress writes it.
    bool Open(const std::string& target) override;
    bool Close() override;
    int LastError() const override { return m_lastError; }
    void DescribeFailure(CLinkFailure& failure) const override;

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
    bool LineEventPending() override { return false; }
    int PollDescriptor() const override { return m_fd; }

    // Sets the socket options of a connection to a device server: no delay
    // for small requests, keepalive so that a dead server is noticed.
    static void TuneSocket(int fd);

private:
    using Clock = std::chrono::steady_clock;

    bool Fail(LinkFailureKind kind, int error);
    bool Attempt(CNameLookup& lookup, Clock::time_point deadline);
    bool Connect(CNameLookup& lookup, Clock::time_point deadline);
    bool Negotiate(Clock::time_point deadline);
    bool Settle();
    bool FailClosed();
    bool RefuseSetting(NetSetting setting, uint32_t requested, uint32_t held, bool unanswered);
    bool WaitReadable(Clock::time_point deadline);
    bool SendControl(const std::string& bytes, Clock::time_point deadline);
    void Pull(size_t limit);
    void FlushReplies();
    size_t Available() const { return m_rxData.size() - m_rxPos; }
    bool Ended() const { return m_endError != 0; }

    int m_fd = -1;
    int m_lastError = 0;
    CNetAddress m_address;
    bool m_bTelnet = false;
    CTelnetCodec m_codec;
    // Data bytes received and not yet read; the Telnet layer's commands are
    // taken out before they get here.
    std::vector<uint8_t> m_rxData;
    size_t m_rxPos = 0;
    int m_endError = 0;      // EIO once the server closed, else the error that ended the connection
    std::string m_control;   // Telnet answers still to be sent
    bool m_bOweIac = false;  // the second byte of a doubled IAC is still to be sent
    std::vector<uint8_t> m_encoded;  // outgoing data with IAC doubled
    CLineSettings m_settings;
    CLinkFailure m_failure;  // the facts of the last failure
};
