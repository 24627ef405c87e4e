#include "link/ComBackend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr uint32_t kModemEvents = kEvCts | kEvDsr | kEvRlsd | kEvRing;

bool IsUnsupported(int error) {
    return error == ENOTTY || error == EINVAL;
}

struct SpeedEntry {
    uint32_t baud;
    speed_t code;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedCode(uint32_t baud, speed_t& code) {
    for (const SpeedEntry& entry : kSpeeds) {
        if (entry.baud == baud) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

uint32_t SpeedValue(speed_t code) {
    for (const SpeedEntry& entry : kSpeeds) {
        if (entry.code == code) {
            return entry.baud;
        }
    }
    return 0;
}

// Raw mode: 8 bits, no echo, no line editing, no translation; reads return
// what is there (VMIN 1, VTIME 0). The speed stays as it was.
bool MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

// The counter moved since the last look: the matching error bit.
uint32_t CounterBit(int now, int before, uint32_t bit) {
    return now != before ? bit : 0;
}

}  // namespace

CComBackend::~CComBackend() {
    Close();
}

bool CComBackend::Fail() {
    m_lastError = errno;
    return false;
}

bool CComBackend::Open(const std::string& target) {
    Close();
    int fd;
    do {
        fd = ::open(target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return Fail();
    }
    // The lock comes first: TIOCEXCL is a property of the device, and a
    // second opener that fails must not clear the holder's flag.
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = (errno == EWOULDBLOCK) ? EBUSY : errno;
        ::close(fd);
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && !IsUnsupported(errno)) {
        m_lastError = errno;
        ::close(fd);
        return false;
    }
    // Raw at once: a later step that fails (a baud rate termios lacks) must
    // not leave a terminal that echoes the reader's bytes back or buffers lines.
    if (!MakeRaw(fd)) {
        m_lastError = errno;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_lastError = 0;
    m_bModemLines = true;
    m_bCounters = true;
    m_counters = {};
    ReadCounters(m_counters);
    return true;
}

bool CComBackend::Close() {
    if (m_fd < 0) {
        return true;
    }
    const int fd = m_fd;
    m_fd = -1;
    // close() waits until pending output has drained (up to the driver's
    // closing wait, 30 s by default), forever on a stalled line or one held
    // off by flow control: that output is discarded first. The port is
    // released before the close, in case the driver still waits.
    ::tcflush(fd, TCOFLUSH);
    ::ioctl(fd, TIOCNXCL);
    ::flock(fd, LOCK_UN);
    // close() is not retried after EINTR: the descriptor is gone either way on Linux.
    if (::close(fd) != 0 && errno != EINTR) {
        return Fail();
    }
    return true;
}

bool CComBackend::Read(uint8_t* buffer, uint32_t size, uint32_t& got) {
    got = 0;
    ssize_t n;
    do {
        n = ::read(m_fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return Fail();
    }
    if (n == 0) {
        // With VMIN 1 a terminal only reads 0 bytes once it is hung up.
        m_lastError = EIO;
        return false;
    }
    got = static_cast<uint32_t>(n);
    return true;
}

bool CComBackend::Write(const uint8_t* data, uint32_t size, uint32_t& written) {
    written = 0;
    ssize_t n;
    do {
        n = ::write(m_fd, data, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return Fail();
    }
    written = static_cast<uint32_t>(n);
    return true;
}

bool CComBackend::ReadCounters(serial_icounter_struct& counters) {
    if (!m_bCounters) {
        return true;
    }
    if (::ioctl(m_fd, TIOCGICOUNT, &counters) == 0) {
        return true;
    }
    if (IsUnsupported(errno)) {
        m_bCounters = false;
        return true;
    }
    return Fail();
}

bool CComBackend::QueryErrors(uint32_t& errors, uint32_t& inQueue, uint32_t& outQueue) {
    errors = 0;
    int in = 0;
    int out = 0;
    if (::ioctl(m_fd, FIONREAD, &in) != 0 || ::ioctl(m_fd, TIOCOUTQ, &out) != 0) {
        return Fail();
    }
    serial_icounter_struct now = m_counters;
    if (!ReadCounters(now)) {
        return false;
    }
    errors = CounterBit(now.buf_overrun, m_counters.buf_overrun, kErrRxOverflow) |
             CounterBit(now.overrun, m_counters.overrun, kErrOverrun) |
             CounterBit(now.parity, m_counters.parity, kErrParity) |
             CounterBit(now.frame, m_counters.frame, kErrFraming) |
             CounterBit(now.brk, m_counters.brk, kErrBreak);
    m_counters = now;
    inQueue = static_cast<uint32_t>(in);
    outQueue = static_cast<uint32_t>(out);
    return true;
}

bool CComBackend::ModemStatus(uint32_t& lines) {
    lines = 0;
    int bits = 0;
    if (!m_bModemLines) {
        return true;
    }
    if (::ioctl(m_fd, TIOCMGET, &bits) != 0) {
        if (IsUnsupported(errno)) {
            m_bModemLines = false;
            return true;
        }
        return Fail();
    }
    lines = ((bits & TIOCM_CTS) ? kLineCts : 0) | ((bits & TIOCM_DSR) ? kLineDsr : 0) |
            ((bits & TIOCM_RNG) ? kLineRing : 0) | ((bits & TIOCM_CAR) ? kLineRlsd : 0);
    return true;
}

bool CComBackend::GetSettings(CLineSettings& settings) {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        return Fail();
    }
    settings.baudRate = SpeedValue(cfgetospeed(&tio));
    if (!(tio.c_cflag & PARENB)) {
        settings.parity = 'N';
    } else if (tio.c_cflag & CMSPAR) {
        settings.parity = (tio.c_cflag & PARODD) ? 'M' : 'S';
    } else {
        settings.parity = (tio.c_cflag & PARODD) ? 'O' : 'E';
    }
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            settings.dataBits = 5;
            break;
        case CS6:
            settings.dataBits = 6;
            break;
        case CS7:
            settings.dataBits = 7;
            break;
        default:
            settings.dataBits = 8;
            break;
    }
    settings.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    settings.outxCtsFlow = (tio.c_cflag & CRTSCTS) != 0;
    settings.outX = (tio.c_iflag & IXON) != 0;
    settings.inX = (tio.c_iflag & IXOFF) != 0;
    settings.xonChar = static_cast<char>(tio.c_cc[VSTART]);
    settings.xoffChar = static_cast<char>(tio.c_cc[VSTOP]);
    return true;
}

bool CComBackend::SetOutputLine(int line, bool on) {
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || IsUnsupported(errno)) {
        return true;
    }
    return Fail();
}

bool CComBackend::SetSettings(const CLineSettings& settings) {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        return Fail();
    }
    speed_t speed;
    if (!SpeedCode(settings.baudRate, speed)) {
        m_lastError = EINVAL;
        return false;
    }
    ::cfmakeraw(&tio);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |=
        kSizes[settings.dataBits >= 5 && settings.dataBits <= 8 ? settings.dataBits - 5 : 3];
    if (settings.stopBits == 2) {
        tio.c_cflag |= CSTOPB;
    }
    switch (settings.parity) {
        case 'E':
            tio.c_cflag |= PARENB;
            break;
        case 'O':
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 'M':
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 'S':
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    // The kernel's CRTSCTS drives RTS from the input buffer and holds output
    // while CTS is off: the CTS output flow together with the RTS handshake.
    if (settings.outxCtsFlow) {
        tio.c_cflag |= CRTSCTS;
    }
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (settings.outX) {
        tio.c_iflag |= IXON;
    }
    if (settings.inX) {
        tio.c_iflag |= IXOFF;
    }
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.xonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.xoffChar);
    // Non-blocking reads return at once; VMIN 1 keeps "no data" (EAGAIN)
    // apart from "hung up" (0 bytes).
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        return Fail();
    }
    if (!settings.outxCtsFlow &&
        !SetOutputLine(TIOCM_RTS, settings.rtsControl != LineControl::Disable)) {
        return false;
    }
    return SetOutputLine(TIOCM_DTR, settings.dtrControl != LineControl::Disable);
}

bool CComBackend::SetTimeouts(const CPortTimeouts&) {
    // Reads never wait (O_NONBLOCK) and writes have no time-out. VMIN 1
    // makes an empty read say EAGAIN instead of returning 0 bytes, which is
    // kept for a hang-up.
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        return Fail();
    }
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        return Fail();
    }
    return true;
}

bool CComBackend::SetMask(uint32_t eventMask) {
    m_eventMask = eventMask;
    return true;
}

void CComBackend::Purge() {
    ::tcflush(m_fd, TCIOFLUSH);
}

bool CComBackend::WaitEvent() {
    // Waiting input makes the descriptor readable at once, so the wait is
    // always armed; only the modem lines need a snapshot to compare with.
    if (!ModemStatus(m_armedLines)) {
        return false;
    }
    m_lastError = EAGAIN;
    return false;
}

bool CComBackend::LineEventPending() {
    if (!(m_eventMask & kModemEvents) || !m_bModemLines) {
        return false;
    }
    uint32_t lines = 0;
    if (!ModemStatus(lines)) {
        return false;
    }
    uint32_t watched = 0;
    watched |= (m_eventMask & kEvCts) ? kLineCts : 0;
    watched |= (m_eventMask & kEvDsr) ? kLineDsr : 0;
    watched |= (m_eventMask & kEvRlsd) ? kLineRlsd : 0;
    watched |= (m_eventMask & kEvRing) ? kLineRing : 0;
    return ((lines ^ m_armedLines) & watched) != 0;
}
