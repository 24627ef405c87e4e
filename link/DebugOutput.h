#pragma once

#include <functional>
#include <string>

// Debug lines of the link and protocol layers (warnings, D2XX diagnostics).
// The GUI installs a sink at start-up; without one, lines go to stderr when
// ORVANE_DEBUG is set and are dropped otherwise. Callable from any thread.
using DebugSink = std::function<void(const std::string& line)>;

void SetDebugSink(DebugSink sink);
void DebugOutput(const std::string& line);
