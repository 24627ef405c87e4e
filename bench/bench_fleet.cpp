// orvanectl --readers collecting 16 emulated readers at once, each on a
// pseudo-terminal of its own paced at 19,200 baud with the same records,
// against one reader's collect in the same run: the whole fleet should take
// little longer than one reader, as the readers' lines run side by side.
// The emulators run in a process of their own, so that the peak RSS and CPU
// time reported are orvanectl's alone.
//
// With --table the figures are printed as key=value lines for scripts/bench.sh.
//
// Usage: bench_fleet [--readers N] [--records N] [--timeout MS] [--table]
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchArgs.h"
#include "bench/ProgramRun.h"
#include "tools/emulator/ReaderEmulator.h"

namespace {

constexpr unsigned kBaud = 19200;

// The readers, in a child forked before this process makes any thread. It
// reports one port path per line and runs until its control pipe closes.
class CReaderFarm {
public:
    bool Start(int readers, unsigned records) {
        int toChild[2];
        int fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
            return false;
        }
        m_pid = ::fork();
        if (m_pid < 0) {
            return false;
        }
        if (m_pid == 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            ::_exit(RunChild(toChild[0], fromChild[1], readers, records));
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_toChild = toChild[1];
        m_fromChild = fromChild[0];
        std::string path;
        char c;
        while (static_cast<int>(m_paths.size()) < readers && ::read(m_fromChild, &c, 1) == 1) {
            if (c == '\n') {
                m_paths.push_back(path);
                path.clear();
            } else {
                path += c;
            }
        }
        return static_cast<int>(m_paths.size()) == readers;
    }

    const std::vector<std::string>& Paths() const { return m_paths; }

    ~CReaderFarm() {
        if (m_toChild >= 0) {
            ::close(m_toChild);
        }
        if (m_fromChild >= 0) {
            ::close(m_fromChild);
        }
        if (m_pid > 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
    }

private:
    static int RunChild(int control, int report, int readers, unsigned records) {
        std::vector<std::unique_ptr<CReaderEmulator>> emulators;
        for (int i = 0; i < readers; ++i) {
            EmulatorOptions options;
            options.model = ReaderModel::Extended;
            options.seedRecords = records;
            options.baudRate = kBaud;
            emulators.push_back(std::make_unique<CReaderEmulator>(options));
            if (!emulators.back()->Start()) {
                return 1;
            }
            const std::string path = emulators.back()->PortPath() + "\n";
            if (::write(report, path.data(), path.size()) != static_cast<ssize_t>(path.size())) {
                return 1;
            }
        }
        char c;
        while (::read(control, &c, 1) == 1) {
        }
        for (auto& emulator : emulators) {
            emulator->Stop();
        }
        return 0;
    }

    pid_t m_pid = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
    std::vector<std::string> m_paths;
};

int Files(const std::string& folder) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files += entry.path().extension() == ".txt" ? 1 : 0;
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (BenchArgs::Flag(argc, argv, "--help")) {
        std::printf("usage: %s [--readers N] [--records N] [--timeout MS] [--table]\n", argv[0]);
        return 0;
    }
    const int readers = static_cast<int>(BenchArgs::Option(argc, argv, "--readers", 16));
    const long records = static_cast<long>(BenchArgs::Option(argc, argv, "--records", 1000));
    const long timeoutMs = static_cast<long>(BenchArgs::Option(argc, argv, "--timeout", 500));
    const bool table = BenchArgs::Flag(argc, argv, "--table");

    // First, before any thread: the child with the readers is forked.
    CReaderFarm farm;
    if (readers < 1 || !farm.Start(readers, static_cast<unsigned>(records))) {
        std::fprintf(stderr, "bench_fleet: the emulators do not start\n");
        return 1;
    }
    char pattern[] = "/tmp/bench-fleet-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string scratch = pattern;
    ::mkdir((scratch + "/config").c_str(), 0700);
    ::setenv("XDG_CONFIG_HOME", (scratch + "/config").c_str(), 1);
    {
        std::ofstream list(scratch + "/readers.ini");
        for (int i = 0; i < readers; ++i) {
            list << "[Tor-" << i + 1 << "]\nPort=" << farm.Paths()[static_cast<size_t>(i)] << "\n";
        }
    }
    const std::string timeout = std::to_string(timeoutMs);
    // Without --clear, so that both runs read the same records.
    const CProgramRun one =
        CProgramRun::Of({BenchArgs::Beside("orvanectl"), "collect", scratch + "/one", "--port",
                         farm.Paths()[0], "--timeout", timeout});
    const CProgramRun fleet =
        CProgramRun::Of({BenchArgs::Beside("orvanectl"), "--readers", scratch + "/readers.ini",
                         "collect", scratch + "/fleet", "--timeout", timeout});
    const int oneFiles = Files(scratch + "/one");
    const int fleetFiles = Files(scratch + "/fleet");
    std::filesystem::remove_all(scratch);
    if (one.status != 0 || oneFiles != 1) {
        std::fprintf(stderr, "bench_fleet: one reader's collect ended with %d\n", one.status);
        return 1;
    }
    if (fleet.status != 0 || fleetFiles != readers) {
        std::fprintf(stderr, "bench_fleet: the fleet's collect ended with %d (%d files)\n",
                     fleet.status, fleetFiles);
        return 1;
    }
    const double ratio = fleet.seconds / one.seconds;
    const double cpuPercent = 100 * fleet.cpuSeconds / fleet.seconds;
    if (table) {
        std::printf(
            "fleet_readers=%d\nfleet_records=%ld\nfleet_baud=%u\nfleet_timeout_ms=%ld\n"
            "fleet_one_s=%.2f\nfleet_s=%.2f\nfleet_ratio=%.3f\nfleet_peak_kb=%ld\n"
            "fleet_cpu_s=%.2f\nfleet_cpu_percent=%.1f\nfleet_one_peak_kb=%ld\n"
            "fleet_one_cpu_s=%.2f\n",
            readers, records, kBaud, timeoutMs, one.seconds, fleet.seconds, ratio, fleet.peakKb,
            fleet.cpuSeconds, cpuPercent, one.peakKb, one.cpuSeconds);
    } else {
        std::printf(
            "collect of %d readers x %ld records at %u baud in one run: %.2f s; one reader: "
            "%.2f s; ratio %.2f, goal <= 1.25: %s\n"
            "fleet run: peak RSS %.1f MB, CPU %.2f s (%.1f %% of one core); one reader: "
            "peak RSS %.1f MB, CPU %.2f s\n",
            readers, records, kBaud, fleet.seconds, one.seconds, ratio,
            ratio <= 1.25 ? "met" : "missed", static_cast<double>(fleet.peakKb) / 1024,
            fleet.cpuSeconds, cpuPercent, static_cast<double>(one.peakKb) / 1024, one.cpuSeconds);
    }
    return 0;
}
