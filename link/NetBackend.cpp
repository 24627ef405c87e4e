#include "link/NetBackend.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <thread>

#include "link/NameLookup.h"

namespace {

using Clock = std::chrono::steady_clock;

// Keepalive: a connection that carries nothing is probed after 5 s of
// silence, every 2 s, and given up after 3 probes without answer; data not
// acknowledged for 11 s ends it too.
constexpr int kKeepIdleS = 5;
constexpr int kKeepIntervalS = 2;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 11000;

// How much one look at the socket takes in at most, so that a fast line
// does not keep the monitor in one call.
constexpr size_t kPullLimit = 64 * 1024;
// The most of a server's parting words that is kept.
constexpr size_t kMaxDetail = 120;

// The COM port option's codes for the line settings.
constexpr uint8_t kDataBits8 = 8;
constexpr uint8_t kStopBits1 = 1;
constexpr uint8_t kStopBits2 = 2;
constexpr uint8_t kFlowNone = 1;
constexpr uint8_t kFlowXonXoff = 2;
constexpr uint8_t kFlowHardware = 3;
constexpr char kPurgeBoth = 3;

uint8_t ParityCode(char parity) {
    switch (parity) {
        case 'O':
            return 2;
        case 'E':
            return 3;
        case 'M':
            return 4;
        case 'S':
            return 5;
        default:
            return 1;
    }
}

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// poll() on one descriptor that is retried after a signal; 0 when the time is up.
short PollOne(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd pfd{fd, events, 0};
        const int rc = ::poll(&pfd, 1, RemainingMs(deadline));
        if (rc > 0) {
            return pfd.revents;
        }
        if (rc == 0 || errno != EINTR) {
            return 0;
        }
    }
}

// The printable part of what a server said, on one line.
std::string ServerWords(const std::vector<uint8_t>& bytes) {
    std::string words;
    for (const uint8_t byte : bytes) {
        if (std::isprint(byte)) {
            words.push_back(static_cast<char>(byte));
        } else if (!words.empty() && words.back() != ' ') {
            words.push_back(' ');
        }
        if (words.size() >= kMaxDetail) {
            break;
        }
    }
    while (!words.empty() && words.back() == ' ') {
        words.pop_back();
    }
    return words;
}

bool SaysBusy(std::string words) {
    std::transform(words.begin(), words.end(), words.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return words.find("in use") != std::string::npos || words.find("busy") != std::string::npos;
}

}  // namespace

CNetBackend::~CNetBackend() {
    Close();
}

void CNetBackend::TuneSocket(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
}

bool CNetBackend::Fail(LinkFailureKind kind, int error) {
    m_failure.kind = kind;
    m_failure.error = error;
    m_lastError = error != 0 ? error : EIO;
    return false;
}

bool CNetBackend::Open(const std::string& target) {
    Close();
    m_failure = CLinkFailure{};
    m_lastError = 0;
    if (!CNetAddress::Parse(target, m_address)) {
        return Fail(LinkFailureKind::BadAddress, EINVAL);
    }
    m_bTelnet = m_address.kind == CNetAddress::Kind::Rfc2217;
    const Clock::time_point deadline = Clock::now() + kConnectTimeout;
    CNameLookup lookup(m_address.host, m_address.port);
    if (!lookup.Wait(std::chrono::milliseconds(RemainingMs(deadline)))) {
        m_failure.detail = "no answer from the name service";
        return Fail(LinkFailureKind::NameNotResolved, 0);
    }
    if (lookup.Error() != 0) {
        m_failure.detail = lookup.ErrorText();
        return Fail(LinkFailureKind::NameNotResolved, 0);
    }
    // A server lets go of a client that has just closed a moment later; a
    // link that reopens at once would be taken for a second client.
    for (int attempt = 1;; ++attempt) {
        if (Attempt(lookup, deadline)) {
            return true;
        }
        if (m_failure.kind != LinkFailureKind::ServerBusy || attempt == kBusyAttempts ||
            Clock::now() + kBusyPause >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kBusyPause);
    }
}

bool CNetBackend::Attempt(CNameLookup& lookup, Clock::time_point deadline) {
    m_failure = CLinkFailure{};
    m_endError = 0;
    m_rxData.clear();
    m_rxPos = 0;
    m_control.clear();
    m_bOweIac = false;
    m_codec = CTelnetCodec();
    m_settings = CLineSettings{};
    if (!Connect(lookup, deadline)) {
        return false;
    }
    const bool ok = m_bTelnet ? Negotiate(Clock::now() + kAnswerTimeout) : Settle();
    if (!ok) {
        ::close(m_fd);
        m_fd = -1;
    }
    return ok;
}

// Tries the addresses in the resolver's order until one accepts.
bool CNetBackend::Connect(CNameLookup& lookup, Clock::time_point deadline) {
    int error = ETIMEDOUT;
    for (const CNameLookup::Address& address : lookup.Addresses()) {
        const int fd = ::socket(address.storage.ss_family,
                                SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0) {
            error = errno;
            continue;
        }
        TuneSocket(fd);
        int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length);
        if (rc != 0 && (errno == EINPROGRESS || errno == EINTR)) {
            const short ready = PollOne(fd, POLLOUT, deadline);
            socklen_t length = sizeof error;
            if (ready == 0) {
                error = ETIMEDOUT;
            } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
                error = errno;
            }
            rc = error == 0 ? 0 : -1;
        } else if (rc != 0) {
            error = errno;
        }
        if (rc == 0) {
            m_fd = fd;
            return true;
        }
        ::close(fd);
        if (error == ETIMEDOUT) {
            break;  // the time is up for every further address too
        }
    }
    switch (error) {
        case ECONNREFUSED:
            return Fail(LinkFailureKind::ConnectionRefused, error);
        case ETIMEDOUT:
            return Fail(LinkFailureKind::NoAnswer, error);
        default:
            return Fail(LinkFailureKind::Other, error);
    }
}

// The connection ended while it was being set up: a server that serves
// another client says so (ser2net: "Port already in use") and closes.
bool CNetBackend::FailClosed() {
    m_failure.detail = ServerWords(m_rxData);
    const int error = m_endError == EIO ? 0 : m_endError;
    return Fail(
        SaysBusy(m_failure.detail) ? LinkFailureKind::ServerBusy : LinkFailureKind::ServerClosed,
        error);
}

// A raw server that turns a client away does so at once after accepting.
// Data that arrives meanwhile stays for the reader.
bool CNetBackend::Settle() {
    const short ready = PollOne(m_fd, POLLRDHUP, Clock::now() + kSettleTime);
    if (ready == 0) {
        return true;
    }
    Pull(kPullLimit);
    return Ended() ? FailClosed() : true;
}

// Agrees on the options; once the server takes the COM port option, one
// query of its baud rate is a round trip after which a server that turns the
// client away has said so. A refused or unanswered option is no failure
// here: SetSettings reports it, and the link carries bytes all the same.
bool CNetBackend::Negotiate(Clock::time_point deadline) {
    if (!SendControl(m_codec.Greeting(), deadline)) {
        return FailClosed();
    }
    bool asked = false;
    std::string answer;
    while (!m_codec.ComPortRefused()) {
        if (m_codec.ComPortAccepted() && !asked) {
            asked = true;
            if (!SendControl(
                    CTelnetCodec::Command(CTelnetCodec::kSetBaudRate, CTelnetCodec::Value32(0)),
                    deadline)) {
                return FailClosed();
            }
        }
        if (asked && m_codec.Answer(CTelnetCodec::kSetBaudRate, answer)) {
            if (answer.size() == 4) {
                m_settings.baudRate =
                    (static_cast<uint32_t>(static_cast<uint8_t>(answer[0])) << 24) |
                    (static_cast<uint32_t>(static_cast<uint8_t>(answer[1])) << 16) |
                    (static_cast<uint32_t>(static_cast<uint8_t>(answer[2])) << 8) |
                    static_cast<uint8_t>(answer[3]);
            }
            break;
        }
        if (!WaitReadable(deadline)) {
            break;
        }
        Pull(kPullLimit);
        if (Ended()) {
            return FailClosed();
        }
    }
    return true;
}

bool CNetBackend::WaitReadable(Clock::time_point deadline) {
    return (PollOne(m_fd, POLLIN, deadline) & (POLLIN | POLLHUP | POLLERR)) != 0;
}

// Sends bytes of the Telnet layer before the monitor runs, waiting for room.
bool CNetBackend::SendControl(const std::string& bytes, Clock::time_point deadline) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        const int error = n < 0 ? errno : 0;
        if (n > 0 || error == EINTR) {
            sent += n > 0 ? static_cast<size_t>(n) : 0;
        } else if (!IsPendingError(error)) {
            m_endError = error != 0 ? error : EIO;
            return false;
        } else if (PollOne(m_fd, POLLOUT, deadline) == 0) {
            m_endError = ETIMEDOUT;
            return false;
        }
    }
    return true;
}

// Takes in what the socket holds now, at most about limit bytes, through the
// Telnet layer into m_rxData. An end of the connection is kept in
// m_endError; the data before it can still be read.
void CNetBackend::Pull(size_t limit) {
    if (m_rxPos > 0) {
        m_rxData.erase(m_rxData.begin(), m_rxData.begin() + static_cast<long>(m_rxPos));
        m_rxPos = 0;
    }
    uint8_t raw[16384];
    size_t total = 0;
    while (total < limit && !Ended()) {
        const ssize_t n = ::recv(m_fd, raw, sizeof raw, 0);
        if (n > 0) {
            total += static_cast<size_t>(n);
            if (m_bTelnet) {
                m_codec.Decode(raw, static_cast<size_t>(n), m_rxData);
            } else {
                m_rxData.insert(m_rxData.end(), raw, raw + n);
            }
        } else if (n == 0) {
            m_endError = EIO;
        } else if (errno == EINTR) {
            continue;
        } else if (IsPendingError(errno)) {
            break;
        } else {
            m_endError = errno;
        }
    }
    FlushReplies();
}

// Answers of the Telnet layer go out between data bytes, as far as the
// socket takes them now; the rest goes before the next data.
void CNetBackend::FlushReplies() {
    if (!m_bTelnet) {
        return;
    }
    m_control += m_codec.TakeReplies();
    if (m_control.empty() || m_bOweIac || Ended()) {
        return;
    }
    const ssize_t n = ::send(m_fd, m_control.data(), m_control.size(), MSG_NOSIGNAL);
    if (n > 0) {
        m_control.erase(0, static_cast<size_t>(n));
    }
}

bool CNetBackend::Close() {
    if (m_fd < 0) {
        return true;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        m_lastError = errno;
        return false;
    }
    return true;
}

void CNetBackend::DescribeFailure(CLinkFailure& failure) const {
    if (m_failure.kind == LinkFailureKind::None) {
        return;
    }
    failure.kind = m_failure.kind;
    failure.error = m_failure.error;
    failure.detail = m_failure.detail;
    failure.setting = m_failure.setting;
    failure.requested = m_failure.requested;
    failure.held = m_failure.held;
    failure.unanswered = m_failure.unanswered;
}

bool CNetBackend::Read(uint8_t* buffer, uint32_t size, uint32_t& got) {
    got = 0;
    if (Available() == 0 && !Ended()) {
        Pull(size);
    }
    if (Available() == 0) {
        m_lastError = Ended() ? m_endError : EAGAIN;
        return false;
    }
    got = static_cast<uint32_t>(std::min<size_t>(size, Available()));
    std::memcpy(buffer, m_rxData.data() + m_rxPos, got);
    m_rxPos += got;
    return true;
}

// Writes what the socket takes now. IAC bytes are doubled; when only the
// first of a doubled pair went out, its data byte does not count as written,
// and the next call, which starts with it, sends the second.
bool CNetBackend::Write(const uint8_t* data, uint32_t size, uint32_t& written) {
    written = 0;
    if (Ended()) {
        m_lastError = m_endError;
        return false;
    }
    auto send = [this](const void* bytes, size_t length) {
        ssize_t n;
        do {
            n = ::send(m_fd, bytes, length, MSG_NOSIGNAL);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            m_lastError = errno;
        }
        return n;
    };
    if (m_bOweIac) {
        if (send(&CTelnetCodec::kIac, 1) != 1) {
            return false;
        }
        m_bOweIac = false;
        written = size > 0 ? 1 : 0;
        return true;
    }
    FlushReplies();
    if (!m_control.empty()) {
        m_lastError = EAGAIN;  // the answers go first, whole
        return false;
    }
    if (!m_bTelnet) {
        const ssize_t n = send(data, size);
        if (n < 0) {
            return false;
        }
        written = static_cast<uint32_t>(n);
        return true;
    }
    m_encoded.clear();
    const uint32_t count = std::min<uint32_t>(size, static_cast<uint32_t>(kPullLimit));
    for (uint32_t i = 0; i < count; ++i) {
        m_encoded.push_back(data[i]);
        if (data[i] == CTelnetCodec::kIac) {
            m_encoded.push_back(CTelnetCodec::kIac);
        }
    }
    const ssize_t n = send(m_encoded.data(), m_encoded.size());
    if (n < 0) {
        return false;
    }
    size_t sent = 0;
    while (written < count) {
        const size_t width = data[written] == CTelnetCodec::kIac ? 2 : 1;
        if (sent + width > static_cast<size_t>(n)) {
            break;
        }
        sent += width;
        ++written;
    }
    m_bOweIac = sent < static_cast<size_t>(n);
    return true;
}

bool CNetBackend::QueryErrors(uint32_t& errors, uint32_t& inQueue, uint32_t& outQueue) {
    errors = 0;
    inQueue = 0;
    outQueue = 0;
    if (!Ended()) {
        Pull(kPullLimit);
    }
    if (Available() == 0 && Ended()) {
        m_lastError = m_endError;
        return false;
    }
    inQueue = static_cast<uint32_t>(Available());
    int unsent = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &unsent) == 0) {
        outQueue = static_cast<uint32_t>(unsent) + (m_bOweIac ? 1 : 0);
    }
    return true;
}

bool CNetBackend::ModemStatus(uint32_t& lines) {
    lines = m_bTelnet ? (m_codec.ModemState() & (kLineCts | kLineDsr | kLineRing | kLineRlsd)) : 0;
    return true;
}

bool CNetBackend::GetSettings(CLineSettings& settings) {
    settings = m_settings;
    return true;
}

bool CNetBackend::RefuseSetting(NetSetting setting, uint32_t requested, uint32_t held,
                                bool unanswered) {
    m_failure.setting = setting;
    m_failure.requested = requested;
    m_failure.held = held;
    m_failure.unanswered = unanswered;
    return Fail(LinkFailureKind::ConfigurationRefused, unanswered ? ETIMEDOUT : EINVAL);
}

// Asks for speed, framing and flow control and holds the server to its
// answers: a server that cannot set a value answers with the one it keeps.
bool CNetBackend::SetSettings(const CLineSettings& settings) {
    if (!m_bTelnet) {
        m_settings = settings;  // the server's port has its own
        return true;
    }
    if (m_codec.ComPortRefused() || !m_codec.ComPortAccepted()) {
        return RefuseSetting(NetSetting::ComPortOption, 0, 0, !m_codec.ComPortRefused());
    }
    struct Request {
        NetSetting setting;
        uint8_t command;
        uint32_t value;
    };
    const Request requests[] = {
        {NetSetting::BaudRate, CTelnetCodec::kSetBaudRate, settings.baudRate},
        {NetSetting::DataSize, CTelnetCodec::kSetDataSize,
         settings.dataBits >= 5 && settings.dataBits <= 8 ? settings.dataBits : kDataBits8},
        {NetSetting::Parity, CTelnetCodec::kSetParity, ParityCode(settings.parity)},
        {NetSetting::StopSize, CTelnetCodec::kSetStopSize,
         settings.stopBits == 2 ? kStopBits2 : kStopBits1},
        {NetSetting::FlowControl, CTelnetCodec::kSetControl,
         settings.outxCtsFlow            ? kFlowHardware
         : settings.outX || settings.inX ? kFlowXonXoff
                                         : kFlowNone},
    };
    std::string bytes;
    for (const Request& request : requests) {
        const bool wide = request.command == CTelnetCodec::kSetBaudRate;
        bytes += CTelnetCodec::Command(request.command,
                                       wide ? CTelnetCodec::Value32(request.value)
                                            : std::string(1, static_cast<char>(request.value)));
    }
    m_codec.ForgetAnswers();
    const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
    if (!SendControl(bytes, deadline)) {
        m_lastError = m_endError;
        return false;
    }
    std::string answer;
    auto answered = [&] {
        return std::all_of(std::begin(requests), std::end(requests),
                           [&](const Request& r) { return m_codec.Answer(r.command, answer); });
    };
    while (!answered() && WaitReadable(deadline)) {
        Pull(kPullLimit);
        if (Ended()) {
            m_lastError = m_endError;
            return false;
        }
    }
    for (const Request& request : requests) {
        if (!m_codec.Answer(request.command, answer)) {
            return RefuseSetting(request.setting, request.value, 0, true);
        }
        uint32_t held = 0;
        for (const char c : answer) {
            held = (held << 8) | static_cast<uint8_t>(c);
        }
        if (held != request.value) {
            return RefuseSetting(request.setting, request.value, held, false);
        }
    }
    m_settings = settings;
    return true;
}

bool CNetBackend::SetTimeouts(const CPortTimeouts&) {
    return true;  // reads never wait and writes have no time-out
}

bool CNetBackend::SetMask(uint32_t) {
    return true;  // input wakes the monitor through the descriptor
}

// Drops what has arrived, and asks the server to drop what it holds.
void CNetBackend::Purge() {
    if (m_bTelnet && m_codec.ComPortAccepted()) {
        m_control += CTelnetCodec::Command(CTelnetCodec::kPurgeData, std::string(1, kPurgeBoth));
    }
    if (!Ended()) {
        Pull(kPullLimit);
    }
    m_rxData.clear();
    m_rxPos = 0;
}

bool CNetBackend::WaitEvent() {
    // Input makes the descriptor readable; the modem lines change only with input.
    m_lastError = EAGAIN;
    return false;
}
