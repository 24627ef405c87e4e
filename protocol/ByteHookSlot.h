#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

// Called on the monitor thread for every received byte, before it is stored.
using ByteHook = void (*)(uint8_t byte);

// The reader protocol's byte hook: installed and removed on the UI thread,
// called on the monitor thread. Assigning waits until a call of the old hook
// that is under way has returned, so whatever the old hook reaches (a dialog,
// say) may go away as soon as the assignment is done. A hook must therefore
// never wait for the UI thread, and never assign the slot itself.
class CByteHookSlot {
public:
    CByteHookSlot& operator=(ByteHook hook);
    ByteHook load() const { return m_hook.load(); }

    // Monitor thread: calls the hook, if one is set, with the byte.
    void Call(uint8_t byte);

private:
    std::atomic<ByteHook> m_hook{nullptr};
    std::mutex m_callMutex;  // held while a hook runs
};
