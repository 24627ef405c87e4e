#include "protocol/ByteHookSlot.h"

CByteHookSlot& CByteHookSlot::operator=(ByteHook hook) {
    m_hook.store(hook);
    // A call that took the old hook holds the lock until it has returned;
    // every call after this one sees the new hook.
    std::lock_guard lock(m_callMutex);
    return *this;
}

void CByteHookSlot::Call(uint8_t byte) {
    if (m_hook.load() == nullptr) {
        return;
    }
    std::lock_guard lock(m_callMutex);
    if (ByteHook hook = m_hook.load(); hook != nullptr) {
        hook(byte);
    }
}
