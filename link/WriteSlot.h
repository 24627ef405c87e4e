#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// The engine's single write request: Write fills it on the caller's thread,
// the monitor thread takes the request out when it handles the write event.
// There is no queue: a request replaces one not yet taken. The lock makes the
// hand-over safe between the two threads.
class CWriteSlot {
public:
    // Empties the slot and gives it room for size bytes (0: no room at all).
    void Allocate(uint32_t size);
    // False, and the slot unchanged, for a request larger than the room.
    bool Put(const char* data, size_t size);
    // Moves the request out; false if none came since the last Take.
    bool Take(std::vector<uint8_t>& request);

private:
    std::mutex m_mutex;
    std::vector<uint8_t> m_pWriteBuf;
    uint32_t m_nWriteLen = 0;
    bool m_bRequested = false;
};
