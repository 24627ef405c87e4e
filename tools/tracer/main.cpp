// orvane-trace: shows the trace of the bytes the Orvane program receives. Binds the trace
// socket, puts the 4-byte pieces back together and prints the text as it arrives.

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

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
                 "Bytes the program dropped because the socket's queue was full show as\n"
                 "a line \"[N Bytes verworfen]\" where they were lost.\n"
                 "\n"
                 "Options:\n"
                 "  --socket PATH  bind PATH instead of the program's socket,\n"
                 "                 $XDG_RUNTIME_DIR/MeridelTracer, else\n"
                 "                 /tmp/MeridelTracer-<user id>\n"
                 "  --help         show this text\n"
                 "  --version      show the version\n",
                 program);
}

// Writes the text on a thread of its own: a terminal that is slow to take it must not keep
// the receiving loop from emptying the socket, whose queue holds only a few datagrams.
class COutput {
public:
    COutput() : m_thread([this] { Run(); }) {}
    ~COutput() {
        {
            std::lock_guard lock(m_mutex);
            m_bDone = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    void Append(const std::string& text) {
        {
            std::lock_guard lock(m_mutex);
            m_pending += text;
        }
        m_wake.notify_one();
    }

private:
    void Run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_bDone || !m_pending.empty(); });
            if (m_pending.empty()) {
                return;
            }
            std::string text;
            text.swap(m_pending);
            lock.unlock();
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fflush(stdout);
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_pending;
    bool m_bDone = false;
    std::thread m_thread;
};

// Takes what is queued, many datagrams per system call, until the queue is empty or a good
// piece of text is ready to show; false on a receive error.
bool Drain(int fd, CTraceAssembler& assembler, std::string& text) {
    constexpr unsigned kBatch = 256;
    unsigned char buffers[kBatch][16];
    iovec vectors[kBatch];
    mmsghdr messages[kBatch];
    for (;;) {
        for (unsigned i = 0; i < kBatch; ++i) {
            vectors[i] = {buffers[i], sizeof buffers[i]};
            messages[i] = {};
            messages[i].msg_hdr.msg_iov = &vectors[i];
            messages[i].msg_hdr.msg_iovlen = 1;
        }
        const int n = ::recvmmsg(fd, messages, kBatch, MSG_DONTWAIT, nullptr);
        if (n < 0) {
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        }
        for (int i = 0; i < n; ++i) {
            text += assembler.Feed(buffers[i], messages[i].msg_len);
        }
        if (n < static_cast<int>(kBatch) || text.size() >= 65536) {
            return true;
        }
    }
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
    // The kernel queues this many datagrams for the socket; the program drops what does not fit.
    if (std::FILE* limit = std::fopen("/proc/sys/net/unix/max_dgram_qlen", "r")) {
        int queue = 0;
        if (std::fscanf(limit, "%d", &queue) == 1 && queue < 256) {
            std::fprintf(stderr,
                         "%s: the socket queue holds only %d messages, so under load bytes are "
                         "lost (shown as \"[N Bytes verworfen]\"); 'sysctl -w "
                         "net.unix.max_dgram_qlen=512' before starting the viewer keeps more\n",
                         program, queue);
        }
        std::fclose(limit);
    }

    CTraceAssembler assembler;
    int status = 0;
    {
        COutput output;
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
                std::string text;
                const bool ok = Drain(receiver.Descriptor(), assembler, text);
                if (!text.empty()) {
                    output.Append(text);
                }
                if (!ok) {
                    std::fprintf(stderr, "%s: receiving failed\n", program);
                    status = 1;
                    break;
                }
            }
        }
    }
    receiver.Close();
    std::fputc('\n', stdout);
    ::close(signalFd);
    return status;
}
