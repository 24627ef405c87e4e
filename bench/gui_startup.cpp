// Start-up time to the shown main window. Each run is a process of its own
// (this program again, with --child) that starts like the program does:
// QApplication, COrvaneApp::InitInstance, the message loop; it stops at the
// first expose of the main window. The time counts from the process's start
// (/proc/self/stat), so loading the libraries is included. The settings are
// a throw-away folder with the emulated reader on a pseudo-terminal as the
// stored interface and a 10 ms reply time-out (--timeout), so the link
// procedure at start-up (one parameter read) stays short. The reference is a plain
// QMainWindow with a QPlainTextEdit started the same way.
//
// Usage: gui_startup [--runs N] [--timeout MS] [--table]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "tools/emulator/ReaderEmulator.h"
#include "views/OrvaneView.h"

extern char** environ;

namespace {

// Milliseconds since this process was started; -1 when unknown. The start
// time has the kernel's tick resolution (10 ms at 100 ticks per second).
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    // After the command name: state is field 3, starttime field 22.
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
        if (index == 22) {
            timespec now{};
            clock_gettime(CLOCK_BOOTTIME, &now);
            const double startMs = std::strtod(field.c_str(), nullptr) * 1e3 /
                                   static_cast<double>(sysconf(_SC_CLK_TCK));
            return now.tv_sec * 1e3 + now.tv_nsec / 1e6 - startMs;
        }
    }
    return -1;
}

// Notes the time of the first expose of the target window and ends the
// message loop. The target is asked for at each event, since a frame gets
// its window only when it is shown.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(std::function<QWindow*()> target) : m_target(std::move(target)) {}
    double ms = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (ms < 0 && e->type() == QEvent::Expose && watched->isWindowType()) {
            QWindow* window = m_target();
            if (window != nullptr && watched == window && window->isExposed()) {
                ms = MsSinceProcessStart();
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<QWindow*()> m_target;
};

// One run in this process: prints "ms=<time> link=<0|1>"; false on failure.
bool ChildRun(int argc, char** argv, bool plain) {
    QApplication application(argc, argv);
    QTimer::singleShot(30000, &application, &QCoreApplication::quit);
    double ms = -1;
    bool linked = false;
    if (plain) {
        QMainWindow window;
        ExposeWatch watch([&] { return window.windowHandle(); });
        application.installEventFilter(&watch);
        window.setCentralWidget(new QPlainTextEdit);
        window.resize(CMainFrame::kWidth, CMainFrame::kHeight);
        window.show();
        QApplication::exec();
        application.removeEventFilter(&watch);
        ms = watch.ms;
    } else {
        COrvaneApp app;
        ExposeWatch watch([&]() -> QWindow* {
            return app.GetMainWnd() != nullptr ? app.GetMainWnd()->windowHandle() : nullptr;
        });
        application.installEventFilter(&watch);
        if (!app.InitInstance({})) {
            return false;
        }
        linked = app.GetView() != nullptr && !app.GetView()->m_strPortName.isEmpty();
        QApplication::exec();
        app.ExitInstance();
        application.removeEventFilter(&watch);
        ms = watch.ms;
    }
    if (ms < 0) {
        return false;
    }
    std::printf("ms=%.1f link=%d\n", ms, linked ? 1 : 0);
    return true;
}

// Runs this program once more as a child; its time in ms, or -1.
double SpawnRun(const char* mode, bool& linked) {
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = "/proc/self/exe";
    char childFlag[] = "--child";
    std::string modeText = mode;
    char* args[] = {self.data(), childFlag, modeText.data(), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    double ms = -1;
    int link = 0;
    if (std::sscanf(out.c_str(), "ms=%lf link=%d", &ms, &link) != 2) {
        return -1;
    }
    linked = link == 1;
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        return ChildRun(argc, argv, std::strcmp(argv[2], "plain") == 0) ? 0 : 1;
    }
    int runs = 7;
    int timeoutMs = 10;
    bool table = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutMs = std::max(10, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--table") == 0) {
            table = true;
        } else {
            std::printf("usage: %s [--runs N] [--timeout MS] [--table]\n", argv[0]);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }

    CReaderEmulator emulator;
    QTemporaryDir folder;
    if (!emulator.Start() || !folder.isValid() ||
        !QDir(folder.path()).mkpath(QStringLiteral("Meridel Applikationen"))) {
        std::fprintf(stderr, "gui_startup: no emulator or settings folder\n");
        return 1;
    }
    QFile settings(folder.filePath(QStringLiteral("Meridel Applikationen/Orvane.conf")));
    if (!settings.open(QIODevice::WriteOnly)) {
        return 1;
    }
    settings.write(QStringLiteral("[Devices]\nCOM40=%1\n\n[Port]\nName=COM40\nTimeout=%2\n")
                       .arg(QString::fromStdString(emulator.PortPath()))
                       .arg(timeoutMs)
                       .toUtf8());
    settings.close();
    const QByteArray path = folder.path().toLocal8Bit();
    setenv("XDG_CONFIG_HOME", path.constData(), 1);
    setenv("XDG_RUNTIME_DIR", path.constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> program;
    std::vector<double> plain;
    bool allLinked = true;
    for (int run = 1; run <= runs; ++run) {
        bool linked = false;
        bool unused = false;
        const double ms = SpawnRun("program", linked);
        const double plainMs = SpawnRun("plain", unused);
        if (ms < 0 || plainMs < 0) {
            std::fprintf(stderr, "gui_startup: run %d failed\n", run);
            return 1;
        }
        allLinked = allLinked && linked;
        program.push_back(ms);
        plain.push_back(plainMs);
        if (!table) {
            std::printf("run %d: program %.1f ms (link %s), plain window %.1f ms\n", run, ms,
                        linked ? "open" : "NOT open", plainMs);
        }
    }
    const double programMedian = Median(program);
    const double plainMedian = Median(plain);
    if (table) {
        std::printf("startup_runs=%d\nstartup_timeout_ms=%d\n", runs, timeoutMs);
        std::printf("startup_ms=%.0f\nstartup_plain_ms=%.0f\nstartup_linked=%d\n", programMedian,
                    plainMedian, allLinked ? 1 : 0);
    } else {
        std::printf("median of %d runs: program %.0f ms, plain window %.0f ms, ratio %.2f\n", runs,
                    programMedian, plainMedian, programMedian / plainMedian);
    }
    return allLinked ? 0 : 1;
}
