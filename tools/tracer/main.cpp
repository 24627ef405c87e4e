// orvane-trace: shows the trace of the bytes the Orvane program receives. Binds the trace
// socket, puts the 4-byte pieces back together and prints the text as it arrives.

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "protocol/Trace.h"
#include "tools/tracer/TraceAssembler.h"
#include "tools/tracer/TraceReceiver.h"

namespace {

void Usage(const char* program, std::FILE* to) {
    std::fprintf(to,
                 "Usage: %s [--socket PATH]\n"
                 "Shows the trace of the bytes that the Orvane program receives.\n"
                 "Binds the trace socket and prints the texts as they arrive, until\n"
                 "interrupted (SIGINT, SIGTERM); the socket is removed on exit.\n"
                 "\n"
                 "Options:\n"
                 "  --socket PATH  bind PATH instead of the program's socket,\n"
                 "                 $XDG_RUNTIME_DIR/MeridelTracer, else\n"
                 "                 /tmp/MeridelTracer-<user id>\n"
                 "  --help         show this text\n"
                 "  --version      show the version\n",
                 program);
}

}  // namespace

int main(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "orvane-trace";
    std::string path = TraceSocketPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage(program, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("orvane-trace (Orvane) %s\n", ORVANE_PRODUCT_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--socket") == 0 && i + 1 < argc) {
            path = argv[++i];
            continue;
        }
        std::fprintf(stderr, "%s: unknown option %s\n", program, argv[i]);
        Usage(program, stderr);
        return 2;
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("signalfd");
        return 1;
    }

    CTraceReceiver receiver;
    if (!receiver.Bind(path)) {
        std::fprintf(stderr, "%s: %s\n", program, receiver.Error().c_str());
        return 1;
    }
    std::fprintf(stderr, "%s: listening on %s\n", program, path.c_str());

    CTraceAssembler assembler;
    int status = 0;
    for (;;) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {receiver.Descriptor(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            status = 1;
            break;
        }
        if (fds[0].revents & POLLIN) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            // Take everything that is queued before writing: the sender drops pieces while
            // the queue is full, so the viewer must keep it short.
            std::string text;
            unsigned char piece[64];
            long n = 0;
            for (int i = 0; i < 1024; ++i) {
                n = receiver.Receive(piece, sizeof piece, std::chrono::milliseconds(0));
                if (n <= 0) {
                    break;
                }
                text += assembler.Feed(piece, static_cast<std::size_t>(n));
            }
            if (!text.empty()) {
                std::fwrite(text.data(), 1, text.size(), stdout);
                std::fflush(stdout);
            }
            if (n < 0) {
                std::fprintf(stderr, "%s: receiving failed\n", program);
                status = 1;
                break;
            }
        }
    }
    receiver.Close();
    std::fputc('\n', stdout);
    ::close(signalFd);
    return status;
}
