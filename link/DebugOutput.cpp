#include "link/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {
std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}
DebugSink& Sink() {
    static DebugSink sink;
    return sink;
}
}  // namespace

void SetDebugSink(DebugSink sink) {
    std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}

void DebugOutput(const std::string& line) {
    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
        return;
    }
    if (std::getenv("ORVANE_DEBUG") != nullptr) {
        std::fprintf(stderr, "%s%s", line.c_str(),
                     (!line.empty() && line.back() == '\n') ? "" : "\n");
    }
}
