// The minimal reference for the transcript's CPU share: a plain Qt program
// that reads a pseudo-terminal and appends what it read to a QPlainTextEdit
// every 40 ms, nothing else (no per-byte work, no trace, no control bytes).
// It prints "ready" once the port is open, then, after BYTES bytes have
// arrived and are shown, the CPU time of its whole process from the first
// byte on and the time that took, as key=value lines.
//
// Usage: plain_transcript PORT BYTES
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PORT BYTES\n", argv[0]);
        return 2;
    }
    const long long total = std::atoll(argv[2]);
    QApplication application(argc, argv);
    const int fd = ::open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios raw{};
    if (fd < 0 || ::tcgetattr(fd, &raw) != 0) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);

    QPlainTextEdit edit;
    edit.resize(815, 400);
    edit.show();
    QByteArray pending;
    long long received = 0;
    double cpuStart = 0;
    QElapsedTimer clock;

    QTimer append;
    QObject::connect(&append, &QTimer::timeout, [&] {
        char buffer[65536];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
            if (!clock.isValid()) {
                cpuStart = ProcessCpuSeconds();
                clock.start();
            }
            pending.append(buffer, n);
            received += n;
        }
        if (!pending.isEmpty()) {
            QTextCursor cursor(edit.document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(QString::fromLatin1(pending).remove(QLatin1Char('\r')));
            pending.clear();
            edit.setTextCursor(cursor);
            edit.ensureCursorVisible();
        }
        if (received >= total) {
            edit.viewport()->repaint();
            std::printf("cpu_s=%.3f\nseconds=%.3f\n", ProcessCpuSeconds() - cpuStart,
                        clock.elapsed() / 1000.0);
            application.quit();
        }
    });
    append.start(40);
    QTimer::singleShot(150000, &application, [&] { application.exit(1); });
    std::printf("ready\n");
    std::fflush(stdout);
    const int result = application.exec();
    ::close(fd);
    return result;
}
