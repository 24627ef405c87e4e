#include "TraceCapture.h"

#include <dlfcn.h>
#include <sys/socket.h>

#include <mutex>

namespace {
std::mutex g_mutex;
bool g_bCapturing = false;
std::vector<std::string> g_pieces;

using SendTo = ssize_t (*)(int, const void*, size_t, int, const sockaddr*, socklen_t);
}  // namespace

extern "C" ssize_t sendto(int fd, const void* data, size_t size, int flags, const sockaddr* to,
                          socklen_t toLength) {
    {
        std::lock_guard lock(g_mutex);
        if (g_bCapturing && to != nullptr && to->sa_family == AF_UNIX) {
            g_pieces.emplace_back(static_cast<const char*>(data), size);
            return static_cast<ssize_t>(size);
        }
    }
    static const auto real = reinterpret_cast<SendTo>(::dlsym(RTLD_NEXT, "sendto"));
    return real(fd, data, size, flags, to, toLength);
}

CTraceCapture::CTraceCapture() {
    std::lock_guard lock(g_mutex);
    g_pieces.clear();
    g_bCapturing = true;
}

CTraceCapture::~CTraceCapture() {
    std::lock_guard lock(g_mutex);
    g_bCapturing = false;
    g_pieces.clear();
}

std::vector<std::string> CTraceCapture::Pieces() const {
    std::lock_guard lock(g_mutex);
    return g_pieces;
}
