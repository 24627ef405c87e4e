#include "link/WriteSlot.h"

#include <algorithm>

void CWriteSlot::Allocate(uint32_t size) {
    std::lock_guard lock(m_mutex);
    m_pWriteBuf = std::vector<uint8_t>(size);
    m_nWriteLen = 0;
    m_bRequested = false;
}

bool CWriteSlot::Put(const char* data, size_t size) {
    std::lock_guard lock(m_mutex);
    if (size > m_pWriteBuf.size()) {
        return false;
    }
    std::copy_n(data, size, m_pWriteBuf.begin());
    m_nWriteLen = static_cast<uint32_t>(size);
    m_bRequested = true;
    return true;
}

bool CWriteSlot::Take(std::vector<uint8_t>& request) {
    std::lock_guard lock(m_mutex);
    if (!m_bRequested) {
        return false;
    }
    m_bRequested = false;
    request.assign(m_pWriteBuf.begin(), m_pWriteBuf.begin() + m_nWriteLen);
    return true;
}
