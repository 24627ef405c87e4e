// How fast received record lines reach the transcript view. The emulator
// sends about 1 MB of record lines over a pseudo-terminal as fast as it
// carries them (then paced like a 921,600-baud line); the view shows them
// through the display hook. Printed: time to the last byte on screen, the
// same lines appended by a plain QPlainTextEdit loop, the ratio, and the
// longest pause of the event loop meanwhile (a 5 ms timer's largest gap).
// A last paced run, with the emulator in a process of its own and the
// program's ordinary event loop, gives the CPU time of the whole process
// over the stream, as a share of one core; in the same run the minimal
// reference (plain_transcript: a plain Qt program that reads the same paced
// line and appends what it read to a QPlainTextEdit every 40 ms) gives its
// share, and the ratio of the two is the figure that travels between machines.
// With --table the figures are printed as key=value lines for scripts/bench.sh;
// --no-paced leaves out the runs paced like a 921,600-baud line.
//
// Usage: gui_transcript [--table] [--no-paced]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextCursor>
#include <QThread>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchView.h"
#include "bench/EmulatorProcess.h"
#include "bench/RecordLines.h"
#include "tools/emulator/ReaderEmulator.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneView.h"
#include "views/TranscriptText.h"

namespace {

constexpr size_t kTotalBytes = 1000000;
constexpr unsigned kFastLine = 0;
constexpr unsigned kLineBaud = 921600;
// The CPU shares are taken in this many rounds, the program and its reference
// in turn, and the round with the median ratio is reported: other load on the
// machine moves single runs by a third.
constexpr int kCpuRounds = 3;

struct Result {
    double seconds = 0;
    double linkSeconds = 0;  // until the emulator had written the last byte
    qint64 longestStallMs = 0;
    bool complete = false;
};

// True once the view shows all of the lines (a CR LF pair is one line break).
bool AllShown(const COrvaneView& view, qsizetype total) {
    return qsizetype{view.document()->characterCount()} - 1 + view.document()->blockCount() - 1 >=
           total;
}

// The lines through the emulator, the port, the hook and the view.
Result ThroughTheView(const std::string& lines, unsigned baud) {
    EmulatorOptions options;
    options.baudRate = baud;
    CReaderEmulator emulator(options);
    Result result;
    const auto total = static_cast<qsizetype>(lines.size());
    if (!emulator.Start()) {
        return result;
    }
    {
        CBenchView bench(40, emulator.PortPath());
        COrvaneView& view = bench.View();
        if (bench.IsOpen()) {
            QElapsedTimer sinceTick;
            QTimer ticker;
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                result.longestStallMs = std::max(result.longestStallMs, sinceTick.restart());
            });
            QElapsedTimer clock;
            clock.start();
            sinceTick.start();
            ticker.start(5);
            emulator.Send({{std::chrono::microseconds(0), lines}});
            const qint64 limitMs = 120000;
            QElapsedTimer sinceCheck;
            sinceCheck.start();
            while (clock.elapsed() < limitMs) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                if (result.linkSeconds == 0 && sinceCheck.elapsed() >= 20) {
                    sinceCheck.restart();
                    if (emulator.BytesSent() >= lines.size()) {
                        result.linkSeconds = clock.elapsed() / 1000.0;
                    }
                }
                if (AllShown(view, total)) {
                    view.viewport()->repaint();
                    result.complete = true;
                    break;
                }
            }
            result.seconds = clock.elapsed() / 1000.0;
            ticker.stop();
            result.complete = result.complete && view.TranscriptBytes().size() == total;
        }
    }
    return result;
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

struct CpuResult {
    double seconds = 0;     // from the first byte sent to the last byte on screen
    double cpuSeconds = 0;  // of the whole process meanwhile
    bool complete = false;
};

// The lines from the emulator process through the port, the hook and the
// view, while the program's ordinary event loop runs.
CpuResult CpuWhileStreaming(CEmulatorProcess& emulator, qsizetype total) {
    CpuResult result;
    {
        CBenchView bench(40, emulator.PortPath());
        COrvaneView& view = bench.View();
        if (bench.IsOpen()) {
            QEventLoop loop;
            QTimer::singleShot(300, &loop, &QEventLoop::quit);  // the window settles first
            loop.exec();
            QElapsedTimer clock;
            QTimer check;
            QObject::connect(&check, &QTimer::timeout, [&] {
                result.complete = AllShown(view, total);
                if (result.complete || clock.elapsed() > 120000) {
                    loop.quit();
                }
            });
            const double cpuStart = ProcessCpuSeconds();
            clock.start();
            emulator.Go();
            check.start(20);
            loop.exec();
            result.cpuSeconds = ProcessCpuSeconds() - cpuStart;
            result.seconds = clock.elapsed() / 1000.0;
            result.complete = result.complete && view.TranscriptBytes().size() == total;
        }
    }
    return result;
}

// The minimal reference program on the same paced line: its own CPU time
// over the stream, measured by itself from the first byte on.
CpuResult PlainReference(CEmulatorProcess& emulator, qsizetype total) {
    CpuResult result;
    QProcess reference;
    reference.start(QDir(QCoreApplication::applicationDirPath()).filePath("plain_transcript"),
                    {QString::fromStdString(emulator.PortPath()), QString::number(total)});
    if (!reference.waitForReadyRead(10000) || reference.readLine().trimmed() != "ready") {
        reference.kill();
        reference.waitForFinished();
        return result;
    }
    emulator.Go();
    if (!reference.waitForFinished(160000) || reference.exitCode() != 0) {
        reference.kill();
        reference.waitForFinished();
        return result;
    }
    for (const QByteArray& line : reference.readAllStandardOutput().split('\n')) {
        if (line.startsWith("cpu_s=")) {
            result.cpuSeconds = line.mid(6).toDouble();
        } else if (line.startsWith("seconds=")) {
            result.seconds = line.mid(8).toDouble();
        }
    }
    result.complete = result.seconds > 0;
    return result;
}

// The same lines appended by a plain editor, piece by piece as the hook cuts them.
double PlainEditorLoop(const std::string& lines) {
    QPlainTextEdit edit;
    edit.resize(815, 400);
    edit.show();
    QElapsedTimer clock;
    clock.start();
    QTextCursor cursor(edit.document());
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = lines.find('\n', start);
        end = end == std::string::npos ? lines.size() : end + 1;
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(CTranscriptText::FromBytes(
            QByteArrayView(lines.data() + start, static_cast<qsizetype>(end - start))));
        edit.setTextCursor(cursor);
        edit.ensureCursorVisible();
        start = end;
    }
    edit.viewport()->repaint();
    return clock.elapsed() / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    bool table = false;
    bool paced = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--table") == 0) {
            table = true;
        } else if (std::strcmp(argv[i], "--no-paced") == 0) {
            paced = false;
        } else {
            std::printf("usage: %s [--table] [--no-paced]\n", argv[0]);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    const std::string lines = RecordLines(kTotalBytes);
    // Forked while the process has no threads yet.
    // One far end per stream: each sends its bytes once. A child forked later
    // holds the pipes of those before it, so they end in the reverse order.
    struct FarEnds : std::vector<std::unique_ptr<CEmulatorProcess>> {
        ~FarEnds() {
            while (!empty()) {
                pop_back();
            }
        }
    } farEnds;
    for (int i = 0; paced && i < 2 * kCpuRounds; ++i) {
        farEnds.push_back(std::make_unique<CEmulatorProcess>());
        if (!farEnds.back()->Start(lines, kLineBaud)) {
            std::fprintf(stderr, "the emulator process did not start\n");
            return 1;
        }
    }
    QApplication application(argc, argv);
    const double plain = PlainEditorLoop(lines);
    const Result fast = ThroughTheView(lines, kFastLine);
    const Result line = paced ? ThroughTheView(lines, kLineBaud) : Result{};
    struct Round {
        CpuResult cpu;
        CpuResult reference;
        double ratio = 0;
    };
    std::vector<Round> rounds;
    for (size_t i = 0; i + 1 < farEnds.size(); i += 2) {
        Round round;
        round.cpu = CpuWhileStreaming(*farEnds[i], static_cast<qsizetype>(lines.size()));
        round.reference = PlainReference(*farEnds[i + 1], static_cast<qsizetype>(lines.size()));
        round.ratio = round.reference.cpuSeconds > 0 && round.cpu.seconds > 0
                          ? (round.cpu.cpuSeconds / round.cpu.seconds) /
                                (round.reference.cpuSeconds / round.reference.seconds)
                          : 0;
        rounds.push_back(round);
    }
    std::sort(rounds.begin(), rounds.end(),
              [](const Round& a, const Round& b) { return a.ratio < b.ratio; });
    const Round median = rounds.empty() ? Round{} : rounds[rounds.size() / 2];
    const CpuResult& cpu = median.cpu;
    const CpuResult& reference = median.reference;
    const double lineSeconds = lines.size() * 10.0 / kLineBaud;
    const double cpuPercent = cpu.seconds > 0 ? 100.0 * cpu.cpuSeconds / cpu.seconds : 0;
    const double referencePercent =
        reference.seconds > 0 ? 100.0 * reference.cpuSeconds / reference.seconds : 0;
    const double cpuRatio = median.ratio;
    const bool roundsComplete = std::all_of(rounds.begin(), rounds.end(), [](const Round& round) {
        return round.cpu.complete && round.reference.complete;
    });
    const bool complete = fast.complete && (!paced || (line.complete && roundsComplete));

    if (table) {
        std::printf("transcript_bytes=%zu\ntranscript_plain_s=%.3f\n", lines.size(), plain);
        std::printf("transcript_view_s=%.3f\ntranscript_view_complete=%d\n", fast.seconds,
                    fast.complete ? 1 : 0);
        std::printf("transcript_link_s=%.3f\ntranscript_stall_ms=%lld\n", fast.linkSeconds,
                    static_cast<long long>(fast.longestStallMs));
        if (paced) {
            std::printf("transcript_paced_baud=%u\ntranscript_paced_s=%.3f\n", kLineBaud,
                        line.seconds);
            std::printf("transcript_paced_line_s=%.3f\ntranscript_paced_stall_ms=%lld\n",
                        lineSeconds, static_cast<long long>(line.longestStallMs));
            std::printf("transcript_paced_complete=%d\n", line.complete ? 1 : 0);
            std::printf("transcript_cpu_s=%.3f\ntranscript_cpu_percent=%.2f\n", cpu.seconds,
                        cpuPercent);
            std::printf("transcript_cpu_complete=%d\n", cpu.complete ? 1 : 0);
            std::printf("transcript_reference_cpu_s=%.3f\ntranscript_reference_cpu_percent=%.2f\n",
                        reference.seconds, referencePercent);
            std::printf("transcript_cpu_ratio=%.2f\ntranscript_cpu_rounds=%zu\n", cpuRatio,
                        rounds.size());
        }
        return complete ? 0 : 1;
    }
    std::printf("%zu bytes of record lines (%zu lines)\n", lines.size(),
                static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n')));
    std::printf("plain QPlainTextEdit loop:          %8.3f s\n", plain);
    std::printf("transcript view, pty at full speed: %8.3f s to the last byte on screen%s\n",
                fast.seconds, fast.complete ? "" : " (INCOMPLETE)");
    std::printf("  emulator done writing after:      %8.3f s\n", fast.linkSeconds);
    std::printf("  ratio view / plain loop:          %8.2f\n", fast.seconds / plain);
    std::printf("  throughput:                       %8.0f bytes/s (= %.0f baud at 10 bits/byte)\n",
                lines.size() / fast.seconds, lines.size() * 10 / fast.seconds);
    std::printf("  longest event-loop stall:         %8lld ms\n",
                static_cast<long long>(fast.longestStallMs));
    if (!paced) {
        return complete ? 0 : 1;
    }
    std::printf("transcript view, %u baud line:   %8.3f s (the line needs %.3f s)%s\n", kLineBaud,
                line.seconds, lineSeconds, line.complete ? "" : " (INCOMPLETE)");
    std::printf("  longest event-loop stall:         %8lld ms\n",
                static_cast<long long>(line.longestStallMs));
    std::printf("  CPU of the whole process:         %8.2f %% of one core over %.3f s%s\n",
                cpuPercent, cpu.seconds, cpu.complete ? "" : " (INCOMPLETE)");
    std::printf("  rounds (ratio each):              ");
    for (const Round& round : rounds) {
        std::printf(" %.2f", round.ratio);
    }
    std::printf("; the median round is shown\n");
    std::printf("  minimal reference (plain_transcript): %6.2f %% of one core over %.3f s%s\n",
                referencePercent, reference.seconds, reference.complete ? "" : " (INCOMPLETE)");
    std::printf("  ratio Orvane / reference:         %8.2f (goal at most 1.5)\n", cpuRatio);
    const bool keepsUp = complete && lines.size() / fast.seconds * 10 >= kLineBaud &&
                         line.longestStallMs <= 100 && fast.longestStallMs <= 100;
    std::printf("goal (keeps up with %u baud, no stall over 100 ms): %s\n", kLineBaud,
                keepsUp ? "met" : "NOT met");
    return complete ? 0 : 1;
}
