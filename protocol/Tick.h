#pragma once

#include <cstdint>

// Milliseconds of a monotonic clock as an unsigned 32-bit value; it wraps
// every 2^32 ms, and every user computes differences in unsigned arithmetic.
uint32_t GetTickCount();

// Replaces the tick source (tests use it to cross the wrap-around); null
// restores the steady clock.
using TickSource = uint32_t (*)();
void SetTickSource(TickSource source);
