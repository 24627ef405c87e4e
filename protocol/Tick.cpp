#include "protocol/Tick.h"

#include <atomic>
#include <chrono>

namespace {
std::atomic<TickSource> g_tickSource{nullptr};

uint32_t SteadyTick() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

uint32_t GetTickCount() {
    TickSource source = g_tickSource.load(std::memory_order_relaxed);
    return source != nullptr ? source() : SteadyTick();
}

void SetTickSource(TickSource source) {
    g_tickSource.store(source);
}
