#include "tools/emulator/ReaderEmulator.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "tools/emulator/ReplyFaults.h"

namespace {

using namespace std::chrono;

// Bits on the line per byte: start bit, 8 data bits, stop bit.
constexpr long long kBitsPerByte = 10;
// How long HangUp() waits for the worker to close its side.
constexpr auto kHangUpWait = seconds(5);

nanoseconds BytePeriod(unsigned baudRate) {
    if (baudRate == 0) {
        return nanoseconds::zero();
    }
    return nanoseconds(kBitsPerByte * 1'000'000'000LL / baudRate);
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool SetFlags(int fd, bool nonBlocking) {
    const int fdFlags = ::fcntl(fd, F_GETFD);
    if (fdFlags < 0 || ::fcntl(fd, F_SETFD, fdFlags | FD_CLOEXEC) < 0) {
        return false;
    }
    if (!nonBlocking) {
        return true;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) >= 0;
}

}  // namespace

CReaderEmulator::CReaderEmulator(EmulatorOptions options)
    : m_options(std::move(options)),
      m_bytePeriod(BytePeriod(m_options.baudRate)),
      m_device(m_options),
      m_framer(m_options.requestTimeout) {}

CReaderEmulator::~CReaderEmulator() {
    Stop();
}

bool CReaderEmulator::Start() {
    {
        std::lock_guard lock(m_mutex);
        if (m_bRunning) {
            return false;
        }
    }
    termios settings{};
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B19200);
    settings.c_cflag |= CREAD | CLOCAL;
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, &settings, nullptr) < 0) {
        return false;
    }
    char name[128] = {};
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0 || ::ptsname_r(master, name, sizeof name) != 0 || !SetFlags(master, true) ||
        !SetFlags(slave, false)) {
        ::close(master);
        ::close(slave);
        if (wake >= 0) {
            ::close(wake);
        }
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_strPortPath = name;
        m_bHungUp = false;
        m_bHangUpWanted = false;
        m_bStopping = false;
    }
    m_masterFd = master;
    m_slaveFd = slave;
    if (!MakeLink()) {
        CloseFd(m_masterFd);
        CloseFd(m_slaveFd);
        ::close(wake);
        std::lock_guard lock(m_mutex);
        m_strPortPath.clear();
        return false;
    }
    m_framer = CRequestFramer(m_options.requestTimeout);
    m_strCurrent.clear();
    m_currentPos = 0;
    m_bHaveCurrent = false;
    m_lastOutput = m_nextByte = Clock::now();
    std::lock_guard lock(m_mutex);
    m_wakeFd = wake;
    m_bRunning = true;
    m_thread = std::thread(&CReaderEmulator::Run, this);
    m_workerId = m_thread.get_id();
    return true;
}

void CReaderEmulator::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_bRunning) {
            return;
        }
        m_bStopping = true;
        Wake();
    }
    m_thread.join();
    CloseFd(m_masterFd);
    CloseFd(m_slaveFd);
    RemoveLink();
    std::lock_guard lock(m_mutex);
    CloseFd(m_wakeFd);
    m_workerId = std::thread::id();
    m_bRunning = false;
    m_bStopping = false;
    m_bWriting = false;
    m_output.clear();
    m_cvChanged.notify_all();
}

bool CReaderEmulator::Running() const {
    std::lock_guard lock(m_mutex);
    return m_bRunning;
}

std::string CReaderEmulator::PortPath() const {
    std::lock_guard lock(m_mutex);
    return m_strPortPath;
}

std::string CReaderEmulator::LinkPath() const {
    std::lock_guard lock(m_mutex);
    return m_strLinkPath;
}

bool CReaderEmulator::MakeLink() {
    const std::string& link = m_options.linkPath;
    if (link.empty()) {
        return true;
    }
    const std::string port = PortPath();
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        // Replace a link left behind by an earlier run, but never a real file.
        if (!S_ISLNK(info.st_mode)) {
            return false;
        }
        const std::string temporary = link + ".new" + std::to_string(::getpid());
        ::unlink(temporary.c_str());
        if (::symlink(port.c_str(), temporary.c_str()) != 0) {
            return false;
        }
        if (::rename(temporary.c_str(), link.c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
    } else if (::symlink(port.c_str(), link.c_str()) != 0) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_strLinkPath = link;
    return true;
}

void CReaderEmulator::RemoveLink() {
    std::string link;
    std::string port;
    {
        std::lock_guard lock(m_mutex);
        link = std::exchange(m_strLinkPath, std::string());
        port = m_strPortPath;
    }
    if (link.empty()) {
        return;
    }
    // Only our own link: another emulator may have taken the name over meanwhile.
    char target[256] = {};
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n > 0 && port == std::string(target, static_cast<std::size_t>(n))) {
        ::unlink(link.c_str());
    }
}

void CReaderEmulator::Wake() {
    const std::uint64_t one = 1;
    if (m_wakeFd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
}

std::vector<std::string> CReaderEmulator::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool CReaderEmulator::WaitForRequests(std::size_t count, milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_cvChanged.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

void CReaderEmulator::ClearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_received.clear();
}

std::string CReaderEmulator::ReceivedBytes() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::size_t CReaderEmulator::BytesSent() const {
    std::lock_guard lock(m_mutex);
    return m_bytesSent;
}

CReaderEmulator::Clock::time_point CReaderEmulator::LastByteTime() const {
    std::lock_guard lock(m_mutex);
    return m_lastByteAt;
}

void CReaderEmulator::SetResponder(Responder responder) {
    std::unique_lock lock(m_mutex);
    m_responder = std::move(responder);
    WaitForCallbacks(lock);
}

void CReaderEmulator::SetRequestObserver(RequestObserver observer) {
    std::unique_lock lock(m_mutex);
    m_observer = std::move(observer);
    WaitForCallbacks(lock);
}

void CReaderEmulator::WaitForCallbacks(std::unique_lock<std::mutex>& lock) {
    if (std::this_thread::get_id() != m_workerId) {
        m_cvChanged.wait(lock, [&] { return m_nCallbacks == 0; });
    }
}

void CReaderEmulator::EndCallbacks() {
    std::lock_guard lock(m_mutex);
    --m_nCallbacks;
    m_cvChanged.notify_all();
}

void CReaderEmulator::Send(Reply chunks) {
    std::lock_guard lock(m_mutex);
    Enqueue(std::move(chunks));
    Wake();
}

void CReaderEmulator::Enqueue(Reply reply) {
    const Clock::time_point now = Clock::now();
    for (ReplyChunk& chunk : reply) {
        m_output.push_back(QueuedChunk{std::move(chunk), now});
    }
}

bool CReaderEmulator::WaitForOutputDone(milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_cvChanged.wait_for(lock, timeout, [&] {
        return (m_output.empty() && !m_bWriting) || m_bHungUp || !m_bRunning;
    });
}

void CReaderEmulator::SetFault(EmulatorFault fault) {
    std::lock_guard lock(m_mutex);
    m_fault = fault;
}

EmulatorFault CReaderEmulator::Fault() const {
    std::lock_guard lock(m_mutex);
    return m_fault;
}

bool CReaderEmulator::PresentBadge(const std::string& keyNumber) {
    std::lock_guard lock(m_mutex);
    Reply output;
    if (!m_device.PresentBadge(keyNumber, output)) {
        return false;
    }
    Enqueue(std::move(output));
    Wake();
    return true;
}

void CReaderEmulator::HangUp() {
    std::unique_lock lock(m_mutex);
    if (!m_bRunning || m_bHungUp) {
        return;
    }
    if (std::this_thread::get_id() == m_workerId) {
        // From a responder: the worker is the caller, so it closes its side itself.
        lock.unlock();
        CloseMaster();
        return;
    }
    m_bHangUpWanted = true;
    Wake();
    m_cvChanged.wait_for(lock, kHangUpWait, [&] { return m_bHungUp || !m_bRunning; });
}

bool CReaderEmulator::HungUp() const {
    std::lock_guard lock(m_mutex);
    return m_bHungUp;
}

bool CReaderEmulator::TeachIn() const {
    std::lock_guard lock(m_mutex);
    return m_device.TeachIn();
}

std::size_t CReaderEmulator::RecordCount() const {
    std::lock_guard lock(m_mutex);
    return m_device.RecordCount();
}

std::vector<std::string> CReaderEmulator::Keys() const {
    std::lock_guard lock(m_mutex);
    return m_device.Keys();
}

std::string CReaderEmulator::ParameterReport() const {
    std::lock_guard lock(m_mutex);
    return m_device.ParameterReport();
}

void CReaderEmulator::CloseMaster() {
    std::lock_guard lock(m_mutex);
    CloseMasterLocked();
}

void CReaderEmulator::CloseMasterLocked() {
    // Under the lock, so that whoever sees the hang-up on the port also sees HungUp().
    CloseFd(m_masterFd);
    CloseFd(m_slaveFd);
    m_strCurrent.clear();
    m_currentPos = 0;
    m_bHaveCurrent = false;
    m_bHungUp = true;
    m_bHangUpWanted = false;
    m_bWriting = false;
    m_output.clear();
    m_cvChanged.notify_all();
}

void CReaderEmulator::Run() {
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (m_bStopping) {
                return;
            }
            if (m_bHangUpWanted && m_masterFd >= 0) {
                lock.unlock();
                CloseMaster();
            }
        }
        const Clock::time_point now = Clock::now();
        Clock::time_point wakeAt = Clock::time_point::max();
        bool wantWrite = false;
        if (m_masterFd >= 0) {
            if (std::optional<std::string> dropped = m_framer.Expire(now)) {
                RequestObserver observer;
                {
                    std::lock_guard lock(m_mutex);
                    observer = m_observer;
                    ++m_nCallbacks;
                }
                if (observer) {
                    observer(*dropped, false);
                }
                EndCallbacks();
            }
            if (std::optional<Clock::time_point> deadline = m_framer.Deadline()) {
                wakeAt = std::min(wakeAt, *deadline + milliseconds(1));
            }
            wantWrite = WriteOutput(now, wakeAt);
        }

        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_masterFd, POLLIN, 0}};
        if (wantWrite) {
            fds[1].events |= POLLOUT;
        }
        const nfds_t count = m_masterFd >= 0 ? 2 : 1;
        timespec timeout{};
        timespec* pTimeout = nullptr;
        if (wakeAt != Clock::time_point::max()) {
            const nanoseconds wait = std::max(nanoseconds::zero(), wakeAt - Clock::now());
            timeout.tv_sec = static_cast<time_t>(wait.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(wait.count() % 1'000'000'000);
            pTimeout = &timeout;
        }
        if (::ppoll(fds, count, pTimeout, nullptr) < 0 && errno != EINTR) {
            return;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &value, sizeof value);
        }
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            ReadInput();
        }
    }
}

void CReaderEmulator::ReadInput() {
    char buffer[4096];
    while (m_masterFd >= 0) {
        const ssize_t n = ::read(m_masterFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (n <= 0) {
            // The line is gone (EIO and the like): stop watching it rather than spin.
            CloseMaster();
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_received.append(buffer, static_cast<std::size_t>(n));
        }
        const Clock::time_point now = Clock::now();
        for (ssize_t i = 0; i < n && m_masterFd >= 0; ++i) {
            if (std::optional<std::string> request = m_framer.Feed(buffer[i], now)) {
                HandleRequest(*request);
            }
        }
    }
}

void CReaderEmulator::HandleRequest(const std::string& request) {
    Responder responder;
    RequestObserver observer;
    EmulatorFault fault;
    {
        std::lock_guard lock(m_mutex);
        fault = m_fault;
        responder = m_responder;
        observer = m_observer;
        ++m_nCallbacks;
    }
    if (observer) {
        observer(request, true);
    }
    Reply reply;
    if (fault != EmulatorFault::HangUp) {
        if (responder) {
            reply = responder(request);
        } else {
            std::lock_guard lock(m_mutex);
            reply = m_device.Answer(request);
        }
        reply = ApplyFault(fault, std::move(reply), m_options.faultPause);
    }
    {
        // The request enters the log once it has been dealt with: whoever waits for the log
        // finds the observer's work done, the reader's state changed and the reply queued.
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        Enqueue(std::move(reply));
        --m_nCallbacks;
        if (fault == EmulatorFault::HangUp) {
            CloseMasterLocked();
        }
        m_cvChanged.notify_all();
    }
}

bool CReaderEmulator::WriteOutput(Clock::time_point now, Clock::time_point& wakeAt) {
    const bool paced = m_bytePeriod > nanoseconds::zero();
    for (;;) {
        if (!m_bHaveCurrent) {
            std::lock_guard lock(m_mutex);
            if (m_output.empty()) {
                if (m_bWriting) {
                    m_bWriting = false;
                    m_cvChanged.notify_all();
                }
                return false;
            }
            QueuedChunk next = std::move(m_output.front());
            m_output.pop_front();
            m_bWriting = true;
            m_bHaveCurrent = true;
            m_currentDue = std::max(m_lastOutput, next.queued) + next.chunk.delay;
            m_strCurrent = std::move(next.chunk.bytes);
            m_currentPos = 0;
            if (paced) {
                m_nextByte = std::max(m_nextByte, m_currentDue);
            }
        }
        if (now < m_currentDue) {
            wakeAt = std::min(wakeAt, m_currentDue);
            return false;
        }
        std::size_t count = m_strCurrent.size() - m_currentPos;
        if (count > 0 && paced) {
            if (now < m_nextByte) {
                wakeAt = std::min(wakeAt, m_nextByte);
                return false;
            }
            const auto due = static_cast<std::size_t>((now - m_nextByte) / m_bytePeriod) + 1;
            count = std::min(count, due);
        }
        std::size_t sent = 0;
        if (count > 0) {
            const ssize_t written = ::write(m_masterFd, m_strCurrent.data() + m_currentPos, count);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return true;
            }
            if (written < 0) {
                CloseMaster();
                return false;
            }
            sent = static_cast<std::size_t>(written);
            m_currentPos += sent;
            if (paced) {
                m_nextByte += m_bytePeriod * static_cast<long long>(sent);
            }
            std::lock_guard lock(m_mutex);
            m_bytesSent += sent;
            m_lastByteAt = paced ? m_nextByte : Clock::now();
        }
        if (m_currentPos == m_strCurrent.size()) {
            // The next chunk's delay counts from here: when this one has left the line.
            m_bHaveCurrent = false;
            m_lastOutput = paced ? m_nextByte : now;
        } else if (sent < count) {
            return true;  // the port side's buffer is full: wait until it is writable
        }
    }
}
