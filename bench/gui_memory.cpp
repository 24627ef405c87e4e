// Memory of a full transcript. The process shows an empty transcript view
// with an open link on a pseudo-terminal and notes its peak resident size
// (VmHWM); then record lines arrive over the link until the view holds
// COrvaneView::kMaxLength characters, and the peak is noted again. The
// difference is what the full transcript costs, the receive path included.
// With --plain the same lines go into a plain QPlainTextEdit instead, as the
// reference.
//
// Usage: gui_memory [--plain] [--table]
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "bench/BenchView.h"
#include "bench/RawPty.h"
#include "bench/RecordLines.h"
#include "views/OrvaneView.h"
#include "views/TranscriptText.h"

namespace {

// A field of /proc/self/status in kB, e.g. "VmHWM"; -1 when missing.
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Characters the editor holds, a line break counted twice.
qsizetype Length(const QPlainTextEdit& edit) {
    const QTextDocument* doc = edit.document();
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

struct Peaks {
    long emptyKb = -1;
    long fullKb = -1;
    bool complete = false;
};

// The lines through a pseudo-terminal, the link, the display hook and the view.
Peaks ThroughTheView(const std::string& lines) {
    Peaks peaks;
    RawPty pty;
    if (!pty.Open()) {
        return peaks;
    }
    {
        CBenchView bench(43, pty.path);
        COrvaneView& view = bench.View();
        if (bench.IsOpen()) {
            Settle(300);
            peaks.emptyKb = StatusKb("VmHWM");
            // Non-blocking, so that the writer ends when the view stops taking bytes.
            fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
            std::atomic<bool> stop{false};
            std::thread writer([&] {
                size_t done = 0;
                while (done < lines.size() && !stop.load()) {
                    const ssize_t n = write(pty.master, lines.data() + done, lines.size() - done);
                    if (n > 0) {
                        done += static_cast<size_t>(n);
                    } else if (n < 0 && errno == EAGAIN) {
                        pollfd pfd{pty.master, POLLOUT, 0};
                        poll(&pfd, 1, 50);
                    } else if (n < 0 && errno != EINTR) {
                        return;
                    }
                }
            });
            QElapsedTimer clock;
            clock.start();
            while (Length(view) < COrvaneView::kMaxLength && clock.elapsed() < 120000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            stop = true;
            writer.join();
            view.viewport()->repaint();
            Settle(300);
            peaks.fullKb = StatusKb("VmHWM");
            peaks.complete = view.TranscriptLength() == COrvaneView::kMaxLength;
        }
    }
    return peaks;
}

// The same lines appended to a plain editor, piece by piece.
Peaks PlainEditor(const std::string& lines) {
    Peaks peaks;
    QPlainTextEdit edit;
    edit.resize(815, 400);
    edit.show();
    Settle(300);
    peaks.emptyKb = StatusKb("VmHWM");
    QTextCursor cursor(edit.document());
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = lines.find('\n', start);
        end = end == std::string::npos ? lines.size() : end + 1;
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(CTranscriptText::FromBytes(
            QByteArrayView(lines.data() + start, static_cast<qsizetype>(end - start))));
        start = end;
    }
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
    edit.viewport()->repaint();
    Settle(300);
    peaks.fullKb = StatusKb("VmHWM");
    peaks.complete = Length(edit) == COrvaneView::kMaxLength;
    return peaks;
}

}  // namespace

int main(int argc, char** argv) {
    bool plain = false;
    bool table = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--plain") == 0) {
            plain = true;
        } else if (std::strcmp(argv[i], "--table") == 0) {
            table = true;
        } else {
            std::printf("usage: %s [--plain] [--table]\n", argv[0]);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    QApplication application(argc, argv);
    const std::string lines = RecordLines(static_cast<size_t>(COrvaneView::kMaxLength));
    const Peaks peaks = plain ? PlainEditor(lines) : ThroughTheView(lines);
    const char* key = plain ? "memory_plain" : "memory";
    if (table) {
        std::printf("%s_empty_kb=%ld\n%s_full_kb=%ld\n%s_complete=%d\n", key, peaks.emptyKb, key,
                    peaks.fullKb, key, peaks.complete ? 1 : 0);
    } else {
        std::printf("%s, %zu characters of record lines%s\n",
                    plain ? "plain QPlainTextEdit" : "transcript view", lines.size(),
                    peaks.complete ? "" : " (INCOMPLETE)");
        std::printf("  peak RSS, empty: %8.1f MB\n", peaks.emptyKb / 1024.0);
        std::printf("  peak RSS, full:  %8.1f MB\n", peaks.fullKb / 1024.0);
        std::printf("  the text's cost: %8.1f MB\n", (peaks.fullKb - peaks.emptyKb) / 1024.0);
    }
    return peaks.complete ? 0 : 1;
}
