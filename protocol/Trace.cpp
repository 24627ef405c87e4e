#include "protocol/Trace.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

// Serialises Trace: one text's pieces are never interleaved with another's.
std::mutex g_traceMutex;

namespace {
constexpr size_t kTextSize = 512;
constexpr size_t kPiece = 4;

int g_traceSocket = -1;  // unbound datagram socket, created on first use; guarded by g_traceMutex
uint64_t g_droppedBytes = 0;  // text bytes the full queue refused, not yet announced; ditto

// Writes the viewer's address into addr; false if the path does not fit.
// Uses no heap: this runs for every received byte.
bool ViewerAddress(sockaddr_un& addr) {
    addr.sun_family = AF_UNIX;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir == nullptr || runtimeDir[0] == '\0') {
        // Asked once: a system call for every received byte costs more than the trace itself.
        static const unsigned uid = static_cast<unsigned>(getuid());
        const int length =
            std::snprintf(addr.sun_path, sizeof addr.sun_path, "/tmp/MeridelTracer-%u", uid);
        return length > 0 && static_cast<size_t>(length) < sizeof addr.sun_path;
    }
    static constexpr char kName[] = "/MeridelTracer";
    const size_t dirLength = std::strlen(runtimeDir);
    if (dirLength + sizeof kName > sizeof addr.sun_path) {
        return false;
    }
    std::memcpy(addr.sun_path, runtimeDir, dirLength);
    std::memcpy(addr.sun_path + dirLength, kName, sizeof kName);
    return true;
}

// The viewer exists when its socket does and belongs to this user; a socket
// (or anything else) that another user placed there is never written to.
bool ViewerExists(const sockaddr_un& addr) {
    struct stat info;
    return lstat(addr.sun_path, &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == getuid();
}

// The presence check costs a system call; the receive path traces every byte,
// so the answer is reused for a short while (and at once for another path).
constexpr long kViewerRecheckMs = 100;

struct ViewerState {
    char path[sizeof(sockaddr_un::sun_path)] = {};
    bool exists = false;
    bool known = false;
    long checkedAtMs = 0;
};
ViewerState g_viewer;  // guarded by g_traceMutex

enum class Post { Sent, QueueFull, ViewerGone };

Post PostDatagram(const void* data, size_t size, const sockaddr_un& addr, socklen_t length) {
    if (sendto(g_traceSocket, data, size, MSG_DONTWAIT | MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&addr), length) >= 0) {
        return Post::Sent;
    }
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS ? Post::QueueFull
                                                                       : Post::ViewerGone;
}

// The lost bytes go out first, so the viewer shows the gap where it is.
Post PostMarker(const sockaddr_un& addr, socklen_t length) {
    unsigned char marker[kTraceMarkerSize];
    for (size_t i = 0; i < kTraceMarkerSize; ++i) {
        marker[i] = static_cast<unsigned char>(g_droppedBytes >> (8 * i));
    }
    const Post result = PostDatagram(marker, sizeof marker, addr, length);
    if (result == Post::Sent) {
        g_droppedBytes = 0;
    }
    return result;
}

long CoarseNowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

bool ViewerPresent(const sockaddr_un& addr) {
    const long now = CoarseNowMs();
    if (!g_viewer.known || std::strcmp(g_viewer.path, addr.sun_path) != 0 ||
        now - g_viewer.checkedAtMs >= kViewerRecheckMs) {
        g_viewer.exists = ViewerExists(addr);
        std::memcpy(g_viewer.path, addr.sun_path, std::strlen(addr.sun_path) + 1);
        g_viewer.known = true;
        g_viewer.checkedAtMs = now;
    }
    return g_viewer.exists;
}
}  // namespace

std::string TraceSocketPath() {
    sockaddr_un addr;
    return ViewerAddress(addr) ? addr.sun_path : "";
}

void Trace(const char* format, ...) {
    std::lock_guard lock(g_traceMutex);

    // Without a viewer there is nothing to format.
    sockaddr_un addr;
    if (!ViewerAddress(addr) || !ViewerPresent(addr)) {
        return;
    }

    // Room for the longest text, its zero and the zeros that pad the last piece.
    char text[kTextSize + kPiece] = {};
    va_list args;
    va_start(args, format);
    const int formatted = std::vsnprintf(text, kTextSize, format, args);
    va_end(args);
    if (formatted <= 0) {
        return;
    }
    const size_t length = std::min(static_cast<size_t>(formatted), kTextSize - 1);

    if (g_traceSocket < 0) {
        g_traceSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (g_traceSocket < 0) {
            return;
        }
    }
    const socklen_t addressLength =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + std::strlen(addr.sun_path) + 1);
    // Each piece is the little-endian 32-bit value of four characters: the
    // bytes in text order. A short last piece carries the zero and zeros.
    for (size_t i = 0; i < length; i += kPiece) {
        Post result = g_droppedBytes > 0 ? PostMarker(addr, addressLength) : Post::Sent;
        if (result == Post::Sent) {
            result = PostDatagram(text + i, kPiece, addr, addressLength);
        }
        // A full queue drops the piece, counted; a socket nobody reads any more
        // (the viewer has ended) counts as absent until the next check.
        if (result == Post::QueueFull) {
            g_droppedBytes += std::min(kPiece, length - i);
        } else if (result == Post::ViewerGone) {
            g_viewer.exists = false;
            g_droppedBytes = 0;
            return;
        }
    }
}
