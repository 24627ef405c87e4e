#include "link/SerialEngine.h"

#include <poll.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <system_error>

#include "link/ComBackend.h"
#include "link/ComTable.h"
#include "link/DebugOutput.h"
#include "link/DeviceEntries.h"
#include "link/NetAddress.h"
#include "link/NetBackend.h"
#include "link/PortDiscovery.h"
#include "link/TtyScanner.h"
#include "link/UsbBackend.h"

namespace {

// Line errors that are reported through OnLineError.
constexpr uint32_t kReportedErrors =
    kErrRxOverflow | kErrOverrun | kErrParity | kErrFraming | kErrTxFull | kErrIo;

std::string ErrorText(int error) {
    char buffer[256];
    return ::strerror_r(error, buffer, sizeof buffer);
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Flow-control fields by handshake mode; any other mode acts as 0.
void ApplyHandshake(CLineSettings& settings, unsigned mode) {
    settings.binary = true;
    settings.txContinueOnXoff = true;
    settings.dsrSensitivity = false;
    settings.abortOnError = false;
    settings.nullStrip = false;
    settings.outxCtsFlow = false;
    settings.outxDsrFlow = false;
    settings.outX = false;
    settings.inX = false;
    settings.dtrControl = LineControl::Disable;
    settings.rtsControl = LineControl::Disable;
    switch (mode) {
        case 1:
            settings.outxCtsFlow = true;
            settings.outxDsrFlow = true;
            settings.dtrControl = LineControl::Enable;
            settings.rtsControl = LineControl::Handshake;
            break;
        case 2:
            settings.outX = true;
            settings.inX = true;
            settings.xonChar = 0x11;
            settings.xoffChar = 0x13;
            break;
        case 3:
            settings.dtrControl = LineControl::Enable;
            settings.rtsControl = LineControl::Handshake;
            break;
        default:
            break;
    }
}

// Stores the line's new state; true if it changed.
bool UpdateLine(bool& stored, bool now) {
    if (stored == now) {
        return false;
    }
    stored = now;
    return true;
}

}  // namespace

CSerialEngine::CSerialEngine() = default;

CSerialEngine::~CSerialEngine() {
    Close();
    m_ftdi.Unload();
}

bool CSerialEngine::NormalizePortName(std::string& name) {
    const size_t p = name.rfind("\\\\.\\", 0) == 0 ? 4 : 0;
    if (name.size() < p + 4 || ::strncasecmp(name.c_str() + p, "com", 3) != 0 ||
        name[p + 3] < '1' || name[p + 3] > '9') {
        return false;
    }
    size_t end = p + 3;
    while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) {
        ++end;
    }
    name = "\\\\.\\COM" + name.substr(p + 3, end - (p + 3));
    return true;
}

bool CSerialEngine::Open(const std::string& portName, unsigned baudRate, char parity,
                         unsigned dataBits, unsigned stopBits, unsigned handshake,
                         uint32_t eventMask, uint32_t writeBufferSize) {
    // A running thread leaves its loop; its object stays held until Close.
    // Only then the label changes: the thread reads it when it warns.
    if (m_bRunning.load() && m_hEvents[kShutdown].IsValid()) {
        m_hEvents[kShutdown].Set();
        while (m_bRunning.load()) {
            SleepMs(1);
        }
    }
    std::string name = portName;
    m_strPortLabel = portName;
    m_bUsb = !NormalizePortName(name) && !CNetAddress::IsNetworkLink(name);
    m_lastFailure = CLinkFailure{};
    m_bDeviceGone.store(false);
    for (int index : {kLineEvent, kReadDone, kWriteDone, kWriteRequest, kShutdown, kRecheck}) {
        if (!m_hEvents[index].Create()) {
            m_lastFailure.kind = LinkFailureKind::Other;
            m_lastFailure.error = errno;
            Close();
            return false;
        }
    }
    m_writeSlot.Allocate(writeBufferSize);
    m_dwEventMask = eventMask;
    m_bWaitPending = false;
    m_bReadPending = false;
    m_bWritePending = false;
    m_bHungUp = false;
    m_bReadReady = true;
    m_outgoing.clear();
    m_nOutgoingSent = 0;

    std::unique_lock lock(m_lock);
    if (m_pComm) {
        m_bPortOpen.store(false);
        m_pComm->Close();
        m_pComm.reset();
    }
    const std::string definition = FormatLineDefinition(baudRate, parity, dataBits, stopBits);
    if (!OpenPort(name)) {
        lock.unlock();
        Close();
        DebugOutput(m_lastFailure.DebugText());
        return false;
    }

    Configure(definition, handshake);
    m_pComm->Purge();
    lock.unlock();

    ReportModemLines();
    return true;
}

// Each step only if all before it succeeded; the first failure is a warning
// and leaves the port open with the settings it had.
void CSerialEngine::Configure(const std::string& definition, unsigned handshake) {
    m_timeouts = CPortTimeouts{};
    if (!m_pComm->SetTimeouts(m_timeouts)) {
        Refuse("SetCommTimeouts()", m_pComm->LastError());
        return;
    }
    if (!m_pComm->SetMask(m_dwEventMask)) {
        Refuse("SetCommMask()", m_pComm->LastError());
        return;
    }
    m_activeMask = m_dwEventMask;
    if (!m_pComm->GetSettings(m_dcb)) {
        Refuse("GetCommState()", m_pComm->LastError());
        return;
    }
    if (!BuildLineSettings(definition, m_dcb)) {
        Refuse("BuildCommDCB()", EINVAL);
        return;
    }
    ApplyHandshake(m_dcb, handshake);
    if (!m_pComm->SetSettings(m_dcb)) {
        Refuse("SetCommState()", m_pComm->LastError());
    }
}

// A warning, and the port's open stays a success that carries the refusal.
void CSerialEngine::Refuse(const char* step, int error) {
    Warn(step, error);
    m_lastFailure.kind = LinkFailureKind::ConfigurationRefused;
    m_lastFailure.error = error;
    m_lastFailure.step = step;
    m_pComm->DescribeFailure(m_lastFailure);
}

bool CSerialEngine::OpenPort(const std::string& name) {
    std::string device = name;
    bool network = false;
    if (m_bUsb) {
        m_pComm = std::make_unique<CUsbBackend>(m_ftdi);
        if (!m_pComm->Open(name)) {
            m_lastFailure.kind = CLinkFailure::KindOf(m_pComm->LastError());
            m_lastFailure.error = m_pComm->LastError();
            m_lastFailure.port = name;
            m_lastFailure.usb = true;
            m_pComm.reset();
            return false;
        }
    } else {
        // A COM number stands for a device node or a network address; an
        // address may also be named directly.
        std::string port = name;
        if (!CNetAddress::IsNetworkLink(name)) {
            CComTable table(DeviceEntries());
            const int number = CComTable::NumberOfName(name);
            port = "COM" + std::to_string(number);
            if (!table.Resolve(number, device)) {
                m_lastFailure.kind = LinkFailureKind::NotPresent;
                m_lastFailure.error = ENOENT;
                m_lastFailure.port = port;
                return false;
            }
        }
        network = CNetAddress::IsNetworkLink(device);
        if (network) {
            m_pComm = std::make_unique<CNetBackend>();
            const bool opened = m_pComm->Open(device);
            m_lastFailure = CLinkFailure{};
            m_lastFailure.kind = CLinkFailure::KindOf(opened ? 0 : m_pComm->LastError());
            m_lastFailure.error = opened ? 0 : m_pComm->LastError();
            m_lastFailure.port = port;
            m_lastFailure.device = port != device ? device : std::string();
            if (!opened) {
                m_pComm->DescribeFailure(m_lastFailure);
                m_pComm.reset();
                return false;
            }
        } else {
            m_pComm = std::make_unique<CComBackend>();
            if (!m_pComm->Open(device)) {
                m_lastFailure = CLinkFailure::ForDevice(m_pComm->LastError(), port, device);
                m_pComm.reset();
                return false;
            }
            m_lastFailure = CLinkFailure::ForDevice(0, port, device);
        }
    }
    m_strOpenedDevice = device;
    m_openedIdentity =
        m_bUsb || network ? CDeviceIdentity{} : CDeviceIdentity::Read(device, CTtyScanner());
    m_bOpenedUsb = m_bUsb;
    m_bOpenedNetwork = network;
    m_netProbe.Reset();
    m_bPortOpen.store(true);
    return true;
}

void CSerialEngine::ReportModemLines() {
    m_bRlsd = m_bDsr = m_bCts = m_bRing = false;
    uint32_t lines = 0;
    if (!m_pComm->ModemStatus(lines)) {
        return;
    }
    m_bRlsd = (lines & kLineRlsd) != 0;
    m_bDsr = (lines & kLineDsr) != 0;
    m_bCts = (lines & kLineCts) != 0;
    m_bRing = (lines & kLineRing) != 0;
    if (m_bRlsd) {
        OnRlsdChanged();
    }
    if (m_bDsr) {
        OnDsrChanged();
    }
    if (m_bCts) {
        OnCtsChanged();
    }
    if (m_bRing) {
        OnRingChanged();
    }
}

bool CSerialEngine::StartMonitoring() {
    // Without a port the thread would end before anyone saw it run.
    if (m_thread.joinable() || !m_bPortOpen.load()) {
        return false;
    }
    try {
        m_thread = std::thread(&CSerialEngine::MonitorThread, this);
    } catch (const std::system_error&) {
        return false;
    }
    while (!m_bRunning.load()) {
        SleepMs(1);
    }
    return true;
}

bool CSerialEngine::Write(const char* data, uint32_t length) {
    if (data == nullptr && length != 0) {
        return false;
    }
    const size_t size = length == kWholeText ? std::strlen(data) : length;
    return m_writeSlot.Put(data, size) && m_hEvents[kWriteRequest].Set();
}

void CSerialEngine::Close() {
    if (m_bRunning.load() && m_hEvents[kShutdown].IsValid()) {
        m_hEvents[kShutdown].Set();
        while (m_bRunning.load()) {
            SleepMs(1);
        }
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    CloseEvents();
    if (m_pComm) {
        m_bPortOpen.store(false);
        if (!m_pComm->Close()) {
            Warn("CloseHandle()", m_pComm->LastError());
        }
        m_pComm.reset();
    }
    m_writeSlot.Allocate(0);
}

void CSerialEngine::CloseEvents() {
    for (int index : {kLineEvent, kReadDone, kWriteDone, kWriteRequest, kShutdown, kRecheck}) {
        m_hEvents[index].Close();
    }
}

bool CSerialEngine::IsOpen() const {
    return m_bPortOpen.load();
}

CDeviceIdentity::Match CSerialEngine::OpenedDevicePresence() {
    using Match = CDeviceIdentity::Match;
    if (m_strOpenedDevice.empty()) {
        return Match::Absent;
    }
    if (m_bOpenedNetwork) {
        // A connection that still works needs no probe, which would be a
        // second client to the server.
        if (m_bPortOpen.load() && !m_bDeviceGone.load()) {
            return Match::Same;
        }
        return m_netProbe.Presence(m_strOpenedDevice);
    }
    if (!m_bOpenedUsb) {
        return m_openedIdentity.Compare(CDeviceIdentity::Read(m_strOpenedDevice, CTtyScanner()));
    }
    std::vector<std::string> adapters;
    ListUsbDevices(adapters);
    return std::find(adapters.begin(), adapters.end(), m_strOpenedDevice) != adapters.end()
               ? Match::Same
               : Match::Absent;
}

void CSerialEngine::ListUsbDevices(std::vector<std::string>& list) {
    m_ftdi.ListFreeAdapters(list);
}

bool CSerialEngine::EnumerateComPorts(std::vector<std::string>& list) {
    return CPortDiscovery().EnumerateComPorts(list);
}

void CSerialEngine::Warn(const char* operation, int error) const {
    DebugOutput(std::string("WARNING:  ") + operation + " Failed with the following error: \n" +
                ErrorText(error) + "\nPort: " + m_strPortLabel + "\n");
}

// ---- Monitor thread ----

void CSerialEngine::MonitorThread() {
    m_bRunning.store(true);
    if (m_pComm->SetMask(m_dwEventMask)) {
        m_activeMask = m_dwEventMask;
    } else {
        Warn("SetCommMask()", m_pComm->LastError());
    }
    while (m_bPortOpen.load()) {
        const int event = WaitForEvent();
        if (event == kShutdown) {
            break;
        }
        switch (event) {
            case kRecheck:
                m_bReadReady = true;
                m_hEvents[kRecheck].Reset();
                CheckAndPollAgain();
                break;
            case kWriteRequest:
                HandleWriteRequest();
                break;
            case kReadDone:
                CompleteRead();
                break;
            case kWriteDone:
                CompleteWrite();
                break;
            case kLineEvent:
                CompleteEventWait();
                ArmEventWait();
                break;
            case kTimedOut:
                ArmEventWait();
                break;
            default:  // the wait failed; go on
                break;
        }
    }
    m_bRunning.store(false);
}

// One poll on the six events and the port. Readiness of the port completes
// the pending operation it belongs to by signalling that operation's event;
// then the lowest-numbered signalled event is returned.
int CSerialEngine::WaitForEvent() {
    pollfd fds[kEventCount + 1];
    for (int i = 0; i < kEventCount; ++i) {
        fds[i] = {m_hEvents[i].Fd(), POLLIN, 0};
    }
    // A new request waits until the one on its way has gone out.
    if (m_bWritePending) {
        fds[kWriteRequest].fd = -1;
    }
    const int portFd = m_bHungUp ? -1 : m_pComm->PollDescriptor();
    short portEvents = 0;
    int timeoutMs = kWaitMs;
    const auto gatherLeft = m_gatherUntil - std::chrono::steady_clock::now();
    const bool gathering = gatherLeft > std::chrono::steady_clock::duration::zero();
    if (gathering) {
        timeoutMs = std::clamp<int>(
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(gatherLeft).count()), 1,
            kWaitMs);
    }
    // Input ends a wait only while reception may read it; after a failed
    // read the waiting bytes would otherwise wake the thread forever.
    if (!gathering &&
        (m_bReadPending || (m_bWaitPending && m_bReadReady && (m_dwEventMask & kEvRxChar)))) {
        portEvents |= POLLIN;
    }
    if (m_bWritePending) {
        portEvents |= POLLOUT;
    }
    // Polled even with no events asked for, so that a hang-up is seen.
    fds[kEventCount] = {portFd, portEvents, 0};

    const int rc = ::poll(fds, kEventCount + 1, timeoutMs);
    if (rc < 0) {
        if (errno != EINTR) {
            SleepMs(kWaitMs);
        }
        return kWaitFailed;
    }
    bool signalled[kEventCount];
    for (int i = 0; i < kEventCount; ++i) {
        signalled[i] = fds[i].fd >= 0 && (fds[i].revents & POLLIN) != 0;
    }
    auto signal = [&](int index) {
        m_hEvents[index].Set();
        signalled[index] = true;
    };
    const short portReady = portFd >= 0 ? fds[kEventCount].revents : 0;
    if (portReady & (POLLHUP | POLLERR | POLLNVAL)) {
        ReportHangUp();
    } else if (portReady != 0) {
        if ((portReady & POLLIN) && m_bReadPending) {
            signal(kReadDone);
        } else if ((portReady & POLLIN) && m_bWaitPending) {
            signal(kLineEvent);
        }
        if ((portReady & POLLOUT) && m_bWritePending) {
            signal(kWriteDone);
        }
    }
    if (rc == 0 && !m_bHungUp) {
        // A port without a descriptor is polled: retry what is pending.
        if (portFd < 0 && m_bReadPending) {
            signal(kReadDone);
        }
        if (portFd < 0 && m_bWritePending) {
            signal(kWriteDone);
        }
        if (m_bWaitPending && m_pComm->LineEventPending()) {
            signal(kLineEvent);
        }
    }
    for (int i = 0; i < kEventCount; ++i) {
        if (signalled[i]) {
            return i;
        }
    }
    return kTimedOut;
}

void CSerialEngine::ReportHangUp() {
    if (m_bHungUp) {
        return;
    }
    m_bHungUp = true;
    m_bDeviceGone.store(true);
    m_bReadPending = false;
    m_bWaitPending = false;
    m_bReadReady = false;
    m_bWritePending = false;
    m_outgoing.clear();
    OnLineError(kErrDeviceGone);
}

void CSerialEngine::ReportDeviceError(int error) {
    if (IsDeviceGoneError(error)) {
        ReportHangUp();
    }
}

void CSerialEngine::SetActiveMask(uint32_t mask) {
    if (mask != m_activeMask && m_pComm->SetMask(mask)) {
        m_activeMask = mask;
    }
}

void CSerialEngine::ArmEventWait() {
    if (m_bWaitPending || m_bHungUp) {
        return;
    }
    if (m_pComm->WaitEvent()) {
        CheckAndPollAgain();
        return;
    }
    const int error = m_pComm->LastError();
    if (IsPendingError(error)) {
        m_bWaitPending = true;
    } else if (IsDeviceGoneError(error)) {
        ReportHangUp();
    } else {
        Warn("WaitCommEvent()", error);
    }
}

// A port without a descriptor is only looked at on the time-out; while bytes
// keep coming it is looked at again at once.
void CSerialEngine::CheckAndPollAgain() {
    if (CheckLineState() && m_pComm->PollDescriptor() < 0) {
        m_hEvents[kRecheck].Set();
    }
}

void CSerialEngine::CompleteEventWait() {
    m_hEvents[kLineEvent].Reset();
    m_bWaitPending = false;
    CheckLineState();
}

bool CSerialEngine::CheckLineState() {
    if (m_bHungUp) {
        return false;
    }
    uint32_t errors = 0;
    uint32_t inQueue = 0;
    uint32_t outQueue = 0;
    if (!m_pComm->QueryErrors(errors, inQueue, outQueue)) {
        ReportDeviceError(m_pComm->LastError());
        return false;
    }
    if (outQueue == 0) {
        OnTxEmpty();
        SetActiveMask(m_dwEventMask & ~kEvTxEmpty);
    }
    if (errors & kErrBreak) {
        OnBreak();
        errors &= ~kErrFraming;
    }
    if (errors & kReportedErrors) {
        OnLineError(errors);
    }
    uint32_t lines = 0;
    if (!m_pComm->ModemStatus(lines)) {
        ReportDeviceError(m_pComm->LastError());
        return false;
    }
    if (UpdateLine(m_bCts, (lines & kLineCts) != 0)) {
        OnCtsChanged();
    }
    if (UpdateLine(m_bDsr, (lines & kLineDsr) != 0)) {
        OnDsrChanged();
    }
    if (UpdateLine(m_bRlsd, (lines & kLineRlsd) != 0)) {
        OnRlsdChanged();
    }
    if (UpdateLine(m_bRing, (lines & kLineRing) != 0)) {
        OnRingChanged();
    }
    return inQueue > 0 && m_bReadReady && StartReception();
}

// True if bytes were read and reception may go on.
bool CSerialEngine::StartReception() {
    if (!m_bReadReady) {
        return false;
    }
    uint32_t errors = 0;
    uint32_t outQueue = 0;
    if (!m_pComm->QueryErrors(errors, m_nInQueue, outQueue) || m_nInQueue == 0) {
        return false;
    }
    m_bReadReady = false;
    NoteInput(m_nInQueue);
    OnBytesAvailable(m_nInQueue);
    return m_bReadReady;
}

void CSerialEngine::NoteInput(uint32_t count) {
    // A few bytes at a time: the line trickles, and more will follow soon.
    m_gatherUntil = count < kGatherBelow
                        ? std::chrono::steady_clock::now() + std::chrono::milliseconds(kGatherMs)
                        : std::chrono::steady_clock::time_point{};
}

void CSerialEngine::CompleteRead() {
    m_hEvents[kReadDone].Reset();
    if (!m_bReadPending) {
        return;
    }
    uint32_t got = 0;
    if (!m_pComm->Read(m_rxBuffer.data(), static_cast<uint32_t>(m_rxBuffer.size()), got)) {
        const int error = m_pComm->LastError();
        if (IsPendingError(error)) {
            return;  // nothing after all: still pending
        }
        m_bReadPending = false;
        Warn("ReadFile()", error);
        if (IsDeviceGoneError(error)) {
            ReportHangUp();
        } else {
            OnLineError(0);
        }
        return;
    }
    NoteInput(got);
    for (uint32_t i = 0; i < got; ++i) {
        OnByteReceived(m_rxBuffer[i]);
    }
    m_bReadPending = false;
    m_bReadReady = true;
    m_hEvents[kRecheck].Set();
}

void CSerialEngine::HandleWriteRequest() {
    m_hEvents[kWriteRequest].Reset();
    if (!m_writeSlot.Take(m_outgoing)) {
        return;
    }
    if (m_outgoing.empty()) {
        OnTxEmpty();
        return;
    }
    m_nOutgoingSent = 0;
    m_bWritePending = false;
    ContinueWrite();
}

void CSerialEngine::ContinueWrite() {
    while (m_nOutgoingSent < m_outgoing.size()) {
        uint32_t written = 0;
        const uint32_t rest = static_cast<uint32_t>(m_outgoing.size() - m_nOutgoingSent);
        if (!m_pComm->Write(m_outgoing.data() + m_nOutgoingSent, rest, written)) {
            const int error = m_pComm->LastError();
            if (IsPendingError(error)) {
                m_bWritePending = true;  // goes on when the port is writable
                return;
            }
            m_bWritePending = false;
            m_outgoing.clear();
            Warn("WriteFile()", error);
            ReportDeviceError(error);
            return;
        }
        m_nOutgoingSent += written;
        // A port without a descriptor takes a request in pieces of bounded
        // time; the rest goes out on the next pass, after any shutdown.
        if (m_nOutgoingSent < m_outgoing.size() && m_pComm->PollDescriptor() < 0) {
            m_bWritePending = true;
            m_hEvents[kWriteDone].Set();
            return;
        }
    }
    m_bWritePending = false;
    SetActiveMask(m_dwEventMask);
    const uint32_t sent = static_cast<uint32_t>(m_nOutgoingSent);
    m_outgoing.clear();
    OnBytesWritten(sent);
}

void CSerialEngine::CompleteWrite() {
    m_hEvents[kWriteDone].Reset();
    if (m_bWritePending) {
        ContinueWrite();
    }
}

// ---- Hooks: no base behaviour except reception ----

void CSerialEngine::OnByteReceived(uint8_t) {}
void CSerialEngine::OnCtsChanged() {}
void CSerialEngine::OnSpareEvent() {}
void CSerialEngine::OnBreak() {}
void CSerialEngine::OnLineError(uint32_t) {}
void CSerialEngine::OnRingChanged() {}
void CSerialEngine::OnRlsdChanged() {}
void CSerialEngine::OnDsrChanged() {}
void CSerialEngine::OnBytesWritten(uint32_t) {}
void CSerialEngine::OnTxEmpty() {}

void CSerialEngine::OnBytesAvailable(uint32_t count) {
    while (count > 0) {
        uint32_t got = 0;
        const uint32_t chunk = std::min<uint32_t>(count, static_cast<uint32_t>(m_rxBuffer.size()));
        const bool ok = m_pComm->Read(m_rxBuffer.data(), chunk, got);
        m_bReadPending = false;
        if (!ok) {
            const int error = m_pComm->LastError();
            if (IsPendingError(error)) {
                m_bReadPending = true;  // the rest comes through CompleteRead
                return;
            }
            Warn("ReadFile()", error);
            if (IsDeviceGoneError(error)) {
                ReportHangUp();
            } else {
                OnLineError(0);
            }
            return;  // reception stays stopped until the next Open
        }
        for (uint32_t i = 0; i < got; ++i) {
            OnByteReceived(m_rxBuffer[i]);
        }
        count -= got;
    }
    m_bReadReady = true;
}
