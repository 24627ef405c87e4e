#include "link/NameLookup.h"

#include <netdb.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

struct CNameLookup::State {
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
    int error = 0;
    std::vector<Address> addresses;
};

namespace {

int Resolve(const std::string& host, uint16_t port, int flags,
            std::vector<CNameLookup::Address>& addresses) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (rc != 0) {
        return rc;
    }
    for (const addrinfo* ai = list; ai != nullptr; ai = ai->ai_next) {
        if (ai->ai_addrlen <= sizeof(sockaddr_storage)) {
            CNameLookup::Address address;
            std::memcpy(&address.storage, ai->ai_addr, ai->ai_addrlen);
            address.length = ai->ai_addrlen;
            addresses.push_back(address);
        }
    }
    ::freeaddrinfo(list);
    return addresses.empty() ? EAI_NONAME : 0;
}

}  // namespace

CNameLookup::CNameLookup(const std::string& host, uint16_t port) {
    if (Resolve(host, port, AI_NUMERICHOST, m_addresses) == 0) {
        m_bDone = true;
        return;
    }
    m_state = std::make_shared<State>();
    try {
        std::thread([state = m_state, host, port] {
            std::vector<Address> addresses;
            const int error = Resolve(host, port, AI_ADDRCONFIG, addresses);
            std::lock_guard lock(state->mutex);
            state->error = error;
            state->addresses = std::move(addresses);
            state->bDone = true;
            state->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        m_state.reset();
        m_bDone = true;
        m_error = EAI_AGAIN;
    }
}

CNameLookup::~CNameLookup() = default;

bool CNameLookup::Wait(std::chrono::milliseconds timeout) {
    if (m_bDone) {
        return true;
    }
    std::unique_lock lock(m_state->mutex);
    if (!m_state->done.wait_for(lock, timeout, [this] { return m_state->bDone; })) {
        return false;
    }
    m_bDone = true;
    m_error = m_state->error;
    m_addresses = std::move(m_state->addresses);
    return true;
}

std::string CNameLookup::ErrorText() const {
    return m_error == 0 ? std::string() : ::gai_strerror(m_error);
}
