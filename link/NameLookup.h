#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Resolves a host name on a thread of its own, so that a caller can stop
// waiting after a time-out (getaddrinfo itself cannot be bounded) or look
// again later without blocking. An address literal is resolved at once.
// Abandoning a lookup (destroying the object) never waits: the thread ends
// by itself and frees what it uses.
class CNameLookup {
public:
    struct Address {
        sockaddr_storage storage{};
        socklen_t length = 0;
    };

    CNameLookup(const std::string& host, uint16_t port);
    ~CNameLookup();

    CNameLookup(const CNameLookup&) = delete;
    CNameLookup& operator=(const CNameLookup&) = delete;

    // Waits at most timeout for the answer; true once it is there.
    bool Wait(std::chrono::milliseconds timeout);
    // After Wait returned true: 0 and the addresses in the resolver's order,
    // or the getaddrinfo error code.
    int Error() const { return m_error; }
    // The resolver's words for Error().
    std::string ErrorText() const;
    const std::vector<Address>& Addresses() const { return m_addresses; }

private:
    struct State;

    std::shared_ptr<State> m_state;
    bool m_bDone = false;
    int m_error = 0;
    std::vector<Address> m_addresses;
};
