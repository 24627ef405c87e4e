// Throughput of the receive path and idle cost of an open link.
//
// 1. Bytes pushed through a pseudo-terminal into OnByteReceived of a reader
//    protocol object (trace on, no viewer listening), against a plain read
//    loop on the same kind of pseudo-terminal; prints both rates and the ratio.
//    The same bytes also through a local ser2net, the link opened as
//    rfc2217://, against the engine on the pseudo-terminal directly.
// 2. CPU time of the monitor thread over an open, silent link.
// 3. CPU time of the whole process while a lost link waits for its device
//    to come back, looking for it once a second like the reconnect watch.
//
// With --table the figures are printed as key=value lines for scripts/bench.sh.
//
// Usage: bench_link_throughput [--megabytes N] [--rounds N] [--seconds S] [--table]
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchArgs.h"
#include "bench/RawPty.h"
#include "link/DeviceEntries.h"
#include "protocol/ReaderProtocol.h"
#include "tests/link/Ser2net.h"

namespace {
using Clock = std::chrono::steady_clock;

std::atomic<size_t> g_hookBytes{0};
void CountingHook(uint8_t) {
    g_hookBytes.fetch_add(1, std::memory_order_relaxed);
}

void WriteAll(int fd, size_t total) {
    std::vector<char> block(4096);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(0x20 + i % 90);
    }
    while (total > 0) {
        const ssize_t n = write(fd, block.data(), std::min(total, block.size()));
        if (n > 0) {
            total -= static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            std::perror("write");
            return;
        }
    }
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Bytes per second through the reader protocol's receive path; 0 on failure.
// With network, the pseudo-terminal sits behind a local ser2net and the link
// is its RFC 2217 port.
double ProtocolRate(size_t total, bool network = false) {
    RawPty pty;
    if (!pty.Open()) {
        return 0;
    }
    CSer2net server(pty.path);
    if (network && !server.Start()) {
        return 0;
    }
    CMapDeviceEntries entries;
    entries.WriteEntry(41, network ? server.Rfc2217Address() : pty.path);
    SetDeviceEntries(&entries);
    double rate = 0;
    {
        CReaderProtocol protocol;
        if (protocol.Open("COM41", 19200, 'N', 8, 1, 0, 9, 15000) && protocol.StartMonitoring()) {
            protocol.m_pfnByteHook = &CountingHook;
            g_hookBytes = 0;
            const auto start = Clock::now();
            std::thread writer([&] { WriteAll(pty.master, total); });
            const auto limit = start + std::chrono::seconds(120);
            while (g_hookBytes.load() < total && Clock::now() < limit) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            const auto end = Clock::now();
            writer.join();
            if (g_hookBytes.load() >= total) {
                rate = total / Seconds(end - start);
            }
        }
        protocol.Close();
    }
    SetDeviceEntries(nullptr);
    return rate;
}

// Bytes per second through a plain poll/read loop on the port side, reading
// up to chunk bytes per call.
double PlainRate(size_t total, size_t chunk) {
    RawPty pty;
    if (!pty.Open()) {
        return 0;
    }
    fcntl(pty.slave, F_SETFL, fcntl(pty.slave, F_GETFL) | O_NONBLOCK);
    size_t received = 0;
    const auto start = Clock::now();
    std::thread writer([&] { WriteAll(pty.master, total); });
    std::vector<char> buffer(chunk);
    while (received < total) {
        const ssize_t n = read(pty.slave, buffer.data(), buffer.size());
        if (n > 0) {
            received += static_cast<size_t>(n);
            continue;
        }
        pollfd pfd{pty.slave, POLLIN, 0};
        poll(&pfd, 1, 10);
    }
    const auto end = Clock::now();
    writer.join();
    return total / Seconds(end - start);
}

double CpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// CPU seconds used by every thread but this one while the link sits silent.
double SilentLinkCpu(double seconds) {
    RawPty pty;
    if (!pty.Open()) {
        return -1;
    }
    CMapDeviceEntries entries;
    entries.WriteEntry(42, pty.path);
    SetDeviceEntries(&entries);
    double used = -1;
    {
        CReaderProtocol protocol;
        if (protocol.Open("COM42", 19200, 'N', 8, 1, 0, 9, 15000) && protocol.StartMonitoring()) {
            const double process0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            const double self0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
            const double process1 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            const double self1 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            used = (process1 - process0) - (self1 - self0);
        }
    }
    SetDeviceEntries(nullptr);
    return used;
}

// CPU seconds of the process while a lost link waits: the port behind a
// stable link (as /dev/serial/by-id names an adapter) hung up, the engine
// closed it, and the same device is looked for once a second.
double LostLinkWatchCpu(double seconds) {
    RawPty pty;
    char dir[] = "/tmp/orvane-bench-link-XXXXXX";
    if (!pty.Open() || mkdtemp(dir) == nullptr) {
        return -1;
    }
    const std::string link = std::string(dir) + "/usb-Bench_Reader-if00-port0";
    CMapDeviceEntries entries;
    entries.WriteEntry(43, link);
    SetDeviceEntries(&entries);
    double used = -1;
    if (symlink(pty.path.c_str(), link.c_str()) == 0) {
        CReaderProtocol protocol;
        if (protocol.Open("COM43", 19200, 'N', 8, 1, 0, 9, 15000) && protocol.StartMonitoring()) {
            close(pty.master);
            pty.master = -1;
            const auto limit = Clock::now() + std::chrono::seconds(3);
            while (!protocol.IsDeviceGone() && Clock::now() < limit) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            protocol.Close();
            const double process0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            for (int tick = 0; tick < static_cast<int>(seconds); ++tick) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                protocol.OpenedDevicePresence();
            }
            used = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
        }
        unlink(link.c_str());
    }
    rmdir(dir);
    SetDeviceEntries(nullptr);
    return used;
}

}  // namespace

int main(int argc, char** argv) {
    if (BenchArgs::Flag(argc, argv, "--help")) {
        std::printf("usage: %s [--megabytes N] [--rounds N] [--seconds S] [--table]\n", argv[0]);
        return 0;
    }
    const size_t total = static_cast<size_t>(BenchArgs::Option(argc, argv, "--megabytes", 8) * 1e6);
    const int rounds = std::max(1, static_cast<int>(BenchArgs::Option(argc, argv, "--rounds", 3)));
    const double seconds = BenchArgs::Option(argc, argv, "--seconds", 10);
    const bool table = BenchArgs::Flag(argc, argv, "--table");

    // Trace on, but no viewer: an empty runtime folder of our own.
    char dir[] = "/tmp/orvane-bench-XXXXXX";
    if (mkdtemp(dir) != nullptr) {
        setenv("XDG_RUNTIME_DIR", dir, 1);
    }

    // Two plain loops bracket the engine: one byte per read call, as the
    // engine's design reads, and 4096 bytes per call, the terminal's ceiling.
    double bestProtocol = 0;
    double bestByteLoop = 0;
    double bestBulkLoop = 0;
    double bestNetwork = 0;
    const bool network = CSer2net::Installed();
    for (int round = 1; round <= rounds; ++round) {
        const double protocol = ProtocolRate(total);
        const double byteLoop = PlainRate(total / 4, 1);
        const double bulkLoop = PlainRate(total, 4096);
        const double overNetwork = network ? ProtocolRate(total, true) : 0;
        if (!table) {
            std::printf(
                "round %d: engine %.2f MB/s, plain loop 1 B/read %.2f MB/s, 4096 B/read %.2f "
                "MB/s, engine over rfc2217:// %.2f MB/s\n",
                round, protocol / 1e6, byteLoop / 1e6, bulkLoop / 1e6, overNetwork / 1e6);
        }
        bestProtocol = std::max(bestProtocol, protocol);
        bestByteLoop = std::max(bestByteLoop, byteLoop);
        bestBulkLoop = std::max(bestBulkLoop, bulkLoop);
        bestNetwork = std::max(bestNetwork, overNetwork);
    }
    const double networkRatio = bestProtocol > 0 ? bestNetwork / bestProtocol : 0;
    const double byteRatio = bestByteLoop > 0 ? bestProtocol / bestByteLoop : 0;
    const double bulkRatio = bestBulkLoop > 0 ? bestProtocol / bestBulkLoop : 0;
    const double cpu = SilentLinkCpu(seconds);
    const double share = cpu / seconds * 100;
    const double watchSeconds = std::max(1.0, std::floor(seconds));
    const double watchCpu = LostLinkWatchCpu(watchSeconds);
    const double watchShare = watchCpu / watchSeconds * 100;
    rmdir(dir);

    if (table) {
        std::printf("link_rounds=%d\nlink_megabytes=%.1f\n", rounds, total / 1e6);
        std::printf("link_engine_mbs=%.2f\nlink_plain1_mbs=%.2f\nlink_plain4096_mbs=%.2f\n",
                    bestProtocol / 1e6, bestByteLoop / 1e6, bestBulkLoop / 1e6);
        if (network) {
            std::printf("link_rfc2217_mbs=%.2f\n", bestNetwork / 1e6);
        }
        std::printf("idle_seconds=%.1f\nidle_cpu_ms=%.1f\nidle_cpu_percent=%.3f\n", seconds,
                    cpu * 1e3, share);
        std::printf(
            "lost_watch_seconds=%.0f\nlost_watch_cpu_ms=%.2f\nlost_watch_cpu_percent=%.4f\n",
            watchSeconds, watchCpu * 1e3, watchShare);
        return bestProtocol > 0 && (!network || bestNetwork > 0) && cpu >= 0 && watchCpu >= 0 ? 0
                                                                                              : 1;
    }
    std::printf("best of %d rounds, %.1f MB through the engine:\n", rounds, total / 1e6);
    std::printf("  through OnByteReceived:  %8.2f MB/s (goal >= 1 MB/s: %s)\n", bestProtocol / 1e6,
                bestProtocol >= 1e6 ? "met" : "missed");
    std::printf("  plain loop, 1 B/read:    %8.2f MB/s, ratio %.2f (goal >= 0.50: %s)\n",
                bestByteLoop / 1e6, byteRatio, byteRatio >= 0.5 ? "met" : "missed");
    std::printf("  plain loop, 4096 B/read: %8.2f MB/s, ratio %.3f (goal >= 0.50: %s)\n",
                bestBulkLoop / 1e6, bulkRatio, bulkRatio >= 0.5 ? "met" : "missed");
    if (network) {
        std::printf(
            "  over rfc2217:// to ser2net: %8.2f MB/s, ratio to the terminal %.2f (goal >= 1 MB/s: "
            "%s)\n",
            bestNetwork / 1e6, networkRatio, bestNetwork >= 1e6 ? "met" : "missed");
    } else {
        std::printf("  over rfc2217:// to ser2net: not measured, ser2net is not installed\n");
    }
    std::printf(
        "monitor thread, silent link, %.1f s: %.1f ms CPU = %.3f%% of one core "
        "(goal < 1%%: %s)\n",
        seconds, cpu * 1e3, share, share < 1 ? "met" : "missed");
    std::printf(
        "lost link, device looked for once a second, %.0f s: %.2f ms CPU = %.4f%% of one core "
        "(goal < 1%%: %s)\n",
        watchSeconds, watchCpu * 1e3, watchShare, watchShare < 1 ? "met" : "missed");
    return bestProtocol > 0 && cpu >= 0 && watchCpu >= 0 ? 0 : 1;
}
