// orvanectl collect of the emulated reader's records over a line paced at
// 19,200 baud: the whole run of the program (start, link, parameter read for
// the reader's ID, read-out, file and log on disk) against the wire time of
// the bytes it saved (bytes x 10 / baud).
//
// With --table the figures are printed as key=value lines for scripts/bench.sh.
//
// Usage: bench_collect [--records N] [--timeout MS] [--table]
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchArgs.h"
#include "bench/ProgramRun.h"
#include "tools/emulator/ReaderEmulator.h"

namespace {

constexpr unsigned kBaud = 19200;

}  // namespace

int main(int argc, char** argv) {
    if (BenchArgs::Flag(argc, argv, "--help")) {
        std::printf("usage: %s [--records N] [--timeout MS] [--table]\n", argv[0]);
        return 0;
    }
    const long records = static_cast<long>(BenchArgs::Option(argc, argv, "--records", 1000));
    const long timeoutMs = static_cast<long>(BenchArgs::Option(argc, argv, "--timeout", 500));
    const bool table = BenchArgs::Flag(argc, argv, "--table");

    char pattern[] = "/tmp/bench-collect-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string scratch = pattern;
    // Settings of its own: German, nothing stored.
    ::mkdir((scratch + "/config").c_str(), 0700);
    ::mkdir((scratch + "/out").c_str(), 0700);
    ::setenv("XDG_CONFIG_HOME", (scratch + "/config").c_str(), 1);

    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    options.seedRecords = static_cast<unsigned>(records);
    options.baudRate = kBaud;
    CReaderEmulator emulator(options);
    if (!emulator.Start()) {
        std::fprintf(stderr, "bench_collect: the emulator does not start\n");
        return 1;
    }
    const CProgramRun collect =
        CProgramRun::Of({BenchArgs::Beside("orvanectl"), "collect", scratch + "/out", "--port",
                         emulator.PortPath(), "--timeout", std::to_string(timeoutMs)});
    const int status = collect.status;
    const double seconds = collect.seconds;

    // The reader sees "C" here, on the emulator's thread, at once.
    std::atomic<long long> windowUs{-1};
    emulator.SetRequestObserver([&](const std::string& request, bool complete) {
        if (complete && request == "C") {
            windowUs = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - emulator.LastByteTime())
                           .count();
        }
    });
    ::mkdir((scratch + "/out-clear").c_str(), 0700);
    const int clearStatus =
        CProgramRun::Of({BenchArgs::Beside("orvanectl"), "collect", scratch + "/out-clear",
                         "--clear", "--port", emulator.PortPath(), "--timeout",
                         std::to_string(timeoutMs)})
            .status;
    emulator.SetRequestObserver({});
    const bool cleared = emulator.RecordCount() == 0;
    emulator.Stop();

    uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch + "/out")) {
        if (entry.path().extension() == ".txt") {
            bytes = entry.file_size();
        }
    }
    std::filesystem::remove_all(scratch);
    if (status != 0 || bytes == 0) {
        std::fprintf(stderr, "bench_collect: orvanectl collect ended with %d\n", status);
        return 1;
    }
    if (clearStatus != 0 || !cleared || windowUs < 0) {
        std::fprintf(stderr, "bench_collect: orvanectl collect --clear ended with %d\n",
                     clearStatus);
        return 1;
    }
    const double windowMs = static_cast<double>(windowUs.load()) / 1000;
    const double wire = static_cast<double>(bytes) * 10 / kBaud;
    const double goal = (wire + timeoutMs / 1000.0) * 1.1;
    if (table) {
        std::printf(
            "collect_records=%ld\ncollect_bytes=%ju\ncollect_baud=%u\ncollect_timeout_ms=%ld\n"
            "collect_s=%.2f\ncollect_wire_s=%.2f\ncollect_clear_window_ms=%.1f\n",
            records, bytes, kBaud, timeoutMs, seconds, wire, windowMs);
    } else {
        std::printf(
            "collect of %ld records (%ju bytes) at %u baud: %.2f s; wire time %.2f s; "
            "goal (wire + %ld ms time-out) x 1.1 = %.2f s: %s (ratio %.2f)\n"
            "collect --clear: from the last byte of the matching read-out's END to the C at "
            "the reader: %.1f ms\n",
            records, bytes, kBaud, seconds, wire, timeoutMs, goal,
            seconds <= goal ? "met" : "missed", seconds / wire, windowMs);
    }
    return 0;
}
