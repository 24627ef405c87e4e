#include "LinkTestSupport.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pthread.h>
#include <pty.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/DebugOutput.h"

CPtyPair::CPtyPair() {
    int port = -1;
    char name[256] = {};
    if (::openpty(&m_master, &port, name, nullptr, nullptr) != 0) {
        m_master = -1;
        return;
    }
    // Raw on both ends so that nothing is echoed or translated before the
    // engine configures its side.
    termios tio{};
    ::tcgetattr(port, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(port, TCSANOW, &tio);
    ::close(port);
    m_portPath = name;
}

CPtyPair::~CPtyPair() {
    HangUp();
}

bool CPtyPair::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        }
        if (n > 0) {
            sent += static_cast<size_t>(n);
        }
    }
    return true;
}

std::string CPtyPair::Receive(size_t count, std::chrono::milliseconds timeout) {
    std::string bytes;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

void CPtyPair::HangUp() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

CHeldPort::CHeldPort(const std::string& path, const char* name, Hold hold) : m_path(path) {
    Start(
        [&path, hold]() -> std::string {
            if (hold == Hold::OwnPty) {
                int master = -1;
                int port = -1;
                char ptsName[64] = {};
                return ::openpty(&master, &port, ptsName, nullptr, nullptr) == 0
                           ? std::string("y") + ptsName
                           : "n";
            }
            const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            struct flock record {};
            record.l_type = F_WRLCK;
            record.l_whence = SEEK_SET;
            const bool taken =
                fd >= 0 && (hold == Hold::Open ||
                            (hold == Hold::Flock && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ||
                            (hold == Hold::Posix && ::fcntl(fd, F_SETLK, &record) == 0));
            return taken ? "y" : "n";
        },
        name);
}

CHeldPort::CHeldPort(const std::function<bool()>& take, const char* name) {
    Start([&take]() -> std::string { return take() ? "y" : "n"; }, name);
}

void CHeldPort::Start(const std::function<std::string()>& take, const char* name) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Die with the test, and keep off its output: a child left holding the
        // test's output pipe keeps the test runner waiting for it to close.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int quiet = ::open("/dev/null", O_RDWR);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        if (quiet > STDERR_FILENO) {
            ::close(quiet);
        }
        ::close(ready[0]);
        const std::string answer = take();
        ::prctl(PR_SET_NAME, name);
        (void)!::write(ready[1], answer.data(), answer.size());
        ::close(ready[1]);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char answer[80] = {};
    const ssize_t n = pid > 0 ? ::read(ready[0], answer, sizeof answer - 1) : 0;
    if (n > 0 && answer[0] == 'y') {
        m_pid = pid;
        if (answer[1] != '\0') {
            m_path = answer + 1;
        }
    } else if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ::close(ready[0]);
}

CHeldPort::~CHeldPort() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

std::string RunInChild(const std::function<std::string()>& body, bool asNobody) {
    int result[2];
    if (::pipe(result) != 0) {
        return "skip";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(result[0]);
        std::string answer;
        const passwd* nobody = ::getpwnam("nobody");
        if (asNobody && ::geteuid() == 0 &&
            (nobody == nullptr || ::setgroups(0, nullptr) != 0 ||
             ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0 ||
             ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0)) {
            answer = "skip";
        } else {
            answer = body();
        }
        (void)!::write(result[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(result[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t n; pid > 0 && (n = ::read(result[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) {
            answer.append(buffer, static_cast<size_t>(n));
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(result[0]);
    if (pid > 0) {
        ::waitpid(pid, nullptr, 0);
    }
    return pid > 0 ? answer : "skip";
}

CDebugCapture::CDebugCapture() {
    SetDebugSink([this](const std::string& line) {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(line);
    });
}

CDebugCapture::~CDebugCapture() {
    SetDebugSink(nullptr);
}

std::vector<std::string> CDebugCapture::Lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

bool CDebugCapture::Contains(const std::string& line) const {
    std::lock_guard lock(m_mutex);
    return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
}

bool CRecordingEngine::OpenDefault(const std::string& name, uint32_t writeBufferSize) {
    return Open(name, 19200, 'N', 8, 1, 0, 9, writeBufferSize);
}

std::string CRecordingEngine::Received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool CRecordingEngine::WaitForBytes(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_received.size() >= count; });
}

bool CRecordingEngine::WaitUntil(const std::function<bool()>& condition,
                                 std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

bool CRecordingEngine::BytesCameOnOneOtherThread() const {
    std::lock_guard lock(m_mutex);
    if (m_byteThreads.empty()) {
        return false;
    }
    const std::thread::id first = m_byteThreads.front();
    return first != std::this_thread::get_id() &&
           std::all_of(m_byteThreads.begin(), m_byteThreads.end(),
                       [&](std::thread::id id) { return id == first; });
}

int CRecordingEngine::TxEmptyCount() const {
    std::lock_guard lock(m_mutex);
    return m_txEmpty;
}

std::vector<uint32_t> CRecordingEngine::LineErrors() const {
    std::lock_guard lock(m_mutex);
    return m_lineErrors;
}

std::vector<uint32_t> CRecordingEngine::BytesWritten() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

int CRecordingEngine::BreakCount() const {
    std::lock_guard lock(m_mutex);
    return m_breaks;
}

std::vector<std::string> CRecordingEngine::LineHooks() const {
    std::lock_guard lock(m_mutex);
    return m_lineHooks;
}

std::optional<std::chrono::nanoseconds> CRecordingEngine::MonitorCpuTime() const {
    std::lock_guard lock(m_mutex);
    timespec ts{};
    if (!m_bHaveClock || ::clock_gettime(m_monitorClock, &ts) != 0) {
        return std::nullopt;
    }
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

std::optional<double> CRecordingEngine::MonitorCpuShare(std::chrono::milliseconds span) const {
    const auto cpuBefore = MonitorCpuTime();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(span);
    const auto cpuAfter = MonitorCpuTime();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    if (!cpuBefore || !cpuAfter) {
        return std::nullopt;
    }
    return std::chrono::duration<double>(*cpuAfter - *cpuBefore) / wall;
}

// Called with m_mutex held.
void CRecordingEngine::NoteThread() {
    if (!m_bHaveClock) {
        m_bHaveClock = ::pthread_getcpuclockid(::pthread_self(), &m_monitorClock) == 0;
    }
    m_changed.notify_all();
}

void CRecordingEngine::OnByteReceived(uint8_t byte) {
    std::lock_guard lock(m_mutex);
    m_received.push_back(static_cast<char>(byte));
    m_byteThreads.push_back(std::this_thread::get_id());
    NoteThread();
}

void CRecordingEngine::OnLineError(uint32_t errors) {
    std::lock_guard lock(m_mutex);
    m_lineErrors.push_back(errors);
    NoteThread();
}

void CRecordingEngine::OnTxEmpty() {
    std::lock_guard lock(m_mutex);
    ++m_txEmpty;
    NoteThread();
}

void CRecordingEngine::OnBytesWritten(uint32_t count) {
    std::lock_guard lock(m_mutex);
    m_written.push_back(count);
    NoteThread();
}

void CRecordingEngine::OnBreak() {
    std::lock_guard lock(m_mutex);
    ++m_breaks;
    NoteThread();
}

void CRecordingEngine::OnCtsChanged() {
    std::lock_guard lock(m_mutex);
    m_lineHooks.push_back("CTS");
}

void CRecordingEngine::OnDsrChanged() {
    std::lock_guard lock(m_mutex);
    m_lineHooks.push_back("DSR");
}

void CRecordingEngine::OnRlsdChanged() {
    std::lock_guard lock(m_mutex);
    m_lineHooks.push_back("RLSD");
}

void CRecordingEngine::OnRingChanged() {
    std::lock_guard lock(m_mutex);
    m_lineHooks.push_back("RING");
}
