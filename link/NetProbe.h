#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "link/DeviceIdentity.h"
#include "link/NetAddress.h"

class CNameLookup;

// Whether the server of a lost network link accepts connections again,
// found out without blocking the caller: each call looks at a connection
// attempt started earlier, and a new attempt starts at most every
// kInterval. An accepted connection is closed at once; the call after the
// one that saw it reports Same, so that the server has let go of the probe
// before the link connects (a server that serves one client at a time
// would turn the link away otherwise).
class CNetProbe {
public:
    static constexpr std::chrono::seconds kInterval{3};
    // An attempt that has not connected by then is given up.
    static constexpr std::chrono::seconds kGiveUp{10};

    CNetProbe();
    ~CNetProbe();

    CNetProbe(const CNetProbe&) = delete;
    CNetProbe& operator=(const CNetProbe&) = delete;

    // Same or Absent, for the address as CNetAddress writes it.
    CDeviceIdentity::Match Presence(const std::string& address);
    // Forgets the attempt under way; the next call may start one at once.
    void Reset();

private:
    using Clock = std::chrono::steady_clock;
    enum class Stage { Idle, Resolving, Connecting, Accepted };

    void ConnectNext();
    void CloseSocket();

    Stage m_stage = Stage::Idle;
    std::string m_strAddress;
    std::unique_ptr<CNameLookup> m_lookup;
    size_t m_nextAddress = 0;
    int m_fd = -1;
    Clock::time_point m_started{};
    bool m_bEverStarted = false;
};
