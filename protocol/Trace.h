#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kTraceMarkerSize = 8;

// Sends a printf-formatted text (at most 511 characters) to the trace viewer,
// if one is listening, as 4-byte datagrams on the viewer's socket. Callable
// from any thread; never fails visibly. Pieces that the full socket queue
// refuses are counted; the next piece that goes through is preceded by a
// marker datagram of kTraceMarkerSize bytes holding the number of text bytes
// lost, as a little-endian 64-bit value.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Path of the viewer's Unix datagram socket: "$XDG_RUNTIME_DIR/MeridelTracer",
// else "/tmp/MeridelTracer-<uid>".
std::string TraceSocketPath();
