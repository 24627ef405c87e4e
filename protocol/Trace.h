#pragma once

#include <string>

// Sends a printf-formatted text (at most 511 characters) to the trace viewer,
// if one is listening, as 4-byte datagrams on the viewer's socket. Callable
// from any thread; never fails visibly.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Path of the viewer's Unix datagram socket: "$XDG_RUNTIME_DIR/MeridelTracer",
// else "/tmp/MeridelTracer-<uid>".
std::string TraceSocketPath();
