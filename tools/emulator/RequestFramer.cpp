#include "tools/emulator/RequestFramer.h"

#include <utility>

namespace {

constexpr int kKeyBlock = -1;
constexpr unsigned char kMemoryTest = 0xC8;

}  // namespace

CRequestFramer::CRequestFramer(std::chrono::milliseconds interByteTimeout)
    : m_interByteTimeout(interByteTimeout) {}

int CRequestFramer::ArgumentCount(unsigned char command) {
    switch (command) {
        case 'S':
            return 12;
        case 'I':
            return 2;
        case 'M':
        case 'F':
        case 'U':
            return 1;
        case 'H':
        case 'Z':
        case 'V':
            return 3;
        case 'W':
            return kKeyBlock;
        case kMemoryTest:
        default:
            return 0;
    }
}

std::optional<std::string> CRequestFramer::Feed(char byte, Clock::time_point now) {
    m_lastByte = now;
    m_strPending.push_back(byte);
    if (m_strPending.size() == 1) {
        m_nExpected = ArgumentCount(static_cast<unsigned char>(byte));
    } else if (m_nExpected > 0) {
        --m_nExpected;
    }

    bool complete = m_nExpected == 0;
    if (m_nExpected == kKeyBlock) {
        // The block ends at the first "\r\nX" after the "W"; an empty list gives "W\r\n\r\nX".
        const std::size_t n = m_strPending.size();
        complete = n >= 4 && m_strPending.compare(n - 3, 3, "\r\nX") == 0;
        if (!complete && n > kMaxKeyBlock) {
            // Too long to keep: remember only the tail, to find the block's end, and drop the
            // block when it ends.
            m_bOverflow = true;
            m_strPending.erase(1, n - 3);
        }
    }
    if (!complete) {
        return std::nullopt;
    }
    std::string request = std::move(m_strPending);
    m_strPending.clear();
    if (std::exchange(m_bOverflow, false)) {
        return std::nullopt;
    }
    return request;
}

std::optional<std::string> CRequestFramer::Expire(Clock::time_point now) {
    if (m_strPending.empty() || now - m_lastByte <= m_interByteTimeout) {
        return std::nullopt;
    }
    std::string abandoned = std::move(m_strPending);
    m_strPending.clear();
    m_bOverflow = false;
    return abandoned;
}

std::optional<CRequestFramer::Clock::time_point> CRequestFramer::Deadline() const {
    if (m_strPending.empty()) {
        return std::nullopt;
    }
    return m_lastByte + m_interByteTimeout;
}
