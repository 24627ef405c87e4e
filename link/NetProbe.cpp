#include "link/NetProbe.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "link/NameLookup.h"

CNetProbe::CNetProbe() = default;

CNetProbe::~CNetProbe() {
    CloseSocket();
}

void CNetProbe::CloseSocket() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void CNetProbe::Reset() {
    CloseSocket();
    m_lookup.reset();
    m_stage = Stage::Idle;
    m_bEverStarted = false;
}

// Starts a connect to the next address; an address that fails at once is
// passed over. Without one left the attempt ends.
void CNetProbe::ConnectNext() {
    CloseSocket();
    const auto& addresses = m_lookup->Addresses();
    while (m_nextAddress < addresses.size()) {
        const CNameLookup::Address& address = addresses[m_nextAddress++];
        m_fd = ::socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_fd < 0) {
            continue;
        }
        if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) ==
            0) {
            CloseSocket();
            m_stage = Stage::Accepted;
            return;
        }
        if (errno == EINPROGRESS) {
            m_stage = Stage::Connecting;
            return;
        }
        CloseSocket();
    }
    m_stage = Stage::Idle;
}

CDeviceIdentity::Match CNetProbe::Presence(const std::string& address) {
    using Match = CDeviceIdentity::Match;
    if (address != m_strAddress) {
        Reset();
        m_strAddress = address;
    }
    const Clock::time_point now = Clock::now();
    if (m_stage == Stage::Accepted) {
        m_stage = Stage::Idle;
        return Match::Same;
    }
    if (m_stage != Stage::Idle && now - m_started > kGiveUp) {
        Reset();
        m_bEverStarted = true;
        m_started = now;
        return Match::Absent;
    }
    if (m_stage == Stage::Idle) {
        CNetAddress parsed;
        if ((m_bEverStarted && now - m_started < kInterval) ||
            !CNetAddress::Parse(address, parsed)) {
            return Match::Absent;
        }
        m_bEverStarted = true;
        m_started = now;
        m_lookup = std::make_unique<CNameLookup>(parsed.host, parsed.port);
        m_nextAddress = 0;
        m_stage = Stage::Resolving;
    }
    if (m_stage == Stage::Resolving) {
        if (!m_lookup->Wait(std::chrono::milliseconds(0))) {
            return Match::Absent;
        }
        if (m_lookup->Error() != 0) {
            m_stage = Stage::Idle;
            return Match::Absent;
        }
        ConnectNext();
    }
    while (m_stage == Stage::Connecting) {
        pollfd pfd{m_fd, POLLOUT, 0};
        if (::poll(&pfd, 1, 0) <= 0) {
            return Match::Absent;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
            CloseSocket();
            m_stage = Stage::Accepted;
        } else {
            ConnectNext();  // refused here: the next address may serve
        }
    }
    return Match::Absent;
}
