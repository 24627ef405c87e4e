#include "link/UsbBackend.h"

#include <algorithm>
#include <vector>

using namespace ftd2xx;

namespace {

constexpr BYTE kParityCodes[] = {'N', 'O', 'E', 'M', 'S'};  // index = the library's code

DWORD ControlCode(LineControl control) {
    switch (control) {
        case LineControl::Disable:
            return 0;
        case LineControl::Enable:
            return 1;
        default:
            return 2;
    }
}

LineControl ControlFromCode(DWORD code) {
    return code == 0 ? LineControl::Disable
                     : (code == 1 ? LineControl::Enable : LineControl::Handshake);
}

}  // namespace

CUsbBackend::~CUsbBackend() {
    Close();
}

int CUsbBackend::TranslateError(DWORD code) {
    switch (code) {
        case 0:
            return 0;
        case FT_ERROR_ACCESS_DENIED:
            return EIO;
        case FT_ERROR_INVALID_HANDLE:
            return EBADF;
        case FT_ERROR_INVALID_PARAMETER:
            return EINVAL;
        case FT_ERROR_IO_PENDING:
            return EAGAIN;
        case FT_ERROR_DEVICE_NOT_CONNECTED:
            return ENODEV;
        default:
            return EPROTO;
    }
}

bool CUsbBackend::Fail() {
    m_lastError = TranslateError(m_binding.W32GetLastError(m_handle));
    return false;
}

// The library gives no reason for a failed open: the device list tells an
// adapter open elsewhere from one that is not there.
int CUsbBackend::OpenError(const std::string& serialNumber) {
    if (!m_binding.IsLoaded()) {
        return ELIBACC;
    }
    std::vector<CFtd2xxBinding::CAdapter> adapters;
    m_binding.ListAdapters(adapters);
    for (const CFtd2xxBinding::CAdapter& adapter : adapters) {
        if (adapter.serial == serialNumber) {
            return adapter.open ? EBUSY : EACCES;  // listed and free: refused to us
        }
    }
    return ENODEV;
}

bool CUsbBackend::Open(const std::string& serialNumber) {
    Close();
    m_binding.Load();
    FT_HANDLE handle = m_binding.W32CreateFile(
        serialNumber.c_str(), FT_GENERIC_READ | FT_GENERIC_WRITE, 0, FT_OPEN_EXISTING,
        FT_FILE_ATTRIBUTE_NORMAL | FT_OPEN_BY_SERIAL_NUMBER);
    if (handle == FtInvalidHandle() || handle == nullptr) {
        m_lastError = OpenError(serialNumber);
        return false;
    }
    m_handle = handle;
    m_lastError = 0;
    // The result is of no interest: a missing entry point leaves the
    // adapter's own latency.
    m_binding.SetLatencyTimer(m_handle, kLatencyMs);
    return true;
}

bool CUsbBackend::Close() {
    if (m_handle == nullptr) {
        return true;
    }
    const bool ok = m_binding.W32CloseHandle(m_handle) || Fail();
    m_handle = nullptr;
    return ok;
}

bool CUsbBackend::Read(uint8_t* buffer, uint32_t size, uint32_t& got) {
    DWORD n = 0;
    got = 0;
    if (!m_binding.W32ReadFile(m_handle, buffer, size, &n)) {
        return Fail();
    }
    if (n == 0) {
        m_lastError = EAGAIN;
        return false;
    }
    got = n;
    return true;
}

bool CUsbBackend::Write(const uint8_t* data, uint32_t size, uint32_t& written) {
    DWORD n = 0;
    written = 0;
    // The library's write returns only when every byte has gone out: no more
    // than the line carries in about 100 ms per call (10 bits a byte).
    const DWORD baud = m_dcb.BaudRate != 0 ? m_dcb.BaudRate : kDefaultBaud;
    size = std::min<uint32_t>(size, std::max<DWORD>(kMinWriteChunk, baud / 100));
    if (!m_binding.W32WriteFile(m_handle, data, size, &n)) {
        return Fail();
    }
    if (n == 0) {
        m_lastError = EAGAIN;
        return false;
    }
    written = n;
    return true;
}

bool CUsbBackend::QueryErrors(uint32_t& errors, uint32_t& inQueue, uint32_t& outQueue) {
    DWORD bits = 0;
    FTCOMSTAT status{};
    if (!m_binding.W32ClearCommError(m_handle, &bits, &status)) {
        return Fail();
    }
    errors = bits;
    inQueue = status.cbInQue;
    outQueue = status.cbOutQue;
    return true;
}

bool CUsbBackend::ModemStatus(uint32_t& lines) {
    DWORD bits = 0;
    if (!m_binding.W32GetCommModemStatus(m_handle, &bits)) {
        return Fail();
    }
    lines = bits & (kLineCts | kLineDsr | kLineRing | kLineRlsd);
    return true;
}

bool CUsbBackend::GetSettings(CLineSettings& settings) {
    m_dcb = FTDCB{};
    m_dcb.DCBlength = sizeof m_dcb;
    if (!m_binding.W32GetCommState(m_handle, &m_dcb)) {
        return Fail();
    }
    settings.baudRate = m_dcb.BaudRate;
    settings.parity =
        m_dcb.Parity < sizeof kParityCodes ? static_cast<char>(kParityCodes[m_dcb.Parity]) : 'N';
    settings.dataBits = m_dcb.ByteSize;
    settings.stopBits = m_dcb.StopBits == 2 ? 2 : 1;
    settings.binary = m_dcb.fBinary;
    settings.outxCtsFlow = m_dcb.fOutxCtsFlow;
    settings.outxDsrFlow = m_dcb.fOutxDsrFlow;
    settings.dtrControl = ControlFromCode(m_dcb.fDtrControl);
    settings.rtsControl = ControlFromCode(m_dcb.fRtsControl);
    settings.dsrSensitivity = m_dcb.fDsrSensitivity;
    settings.txContinueOnXoff = m_dcb.fTXContinueOnXoff;
    settings.outX = m_dcb.fOutX;
    settings.inX = m_dcb.fInX;
    settings.nullStrip = m_dcb.fNull;
    settings.abortOnError = m_dcb.fAbortOnError;
    settings.xonChar = m_dcb.XonChar;
    settings.xoffChar = m_dcb.XoffChar;
    return true;
}

bool CUsbBackend::SetSettings(const CLineSettings& settings) {
    // Fields the engine has no say in keep what GetSettings read.
    FTDCB dcb = m_dcb;
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = settings.baudRate;
    dcb.Parity = 0;
    for (BYTE code = 0; code < sizeof kParityCodes; ++code) {
        if (kParityCodes[code] == static_cast<BYTE>(settings.parity)) {
            dcb.Parity = code;
        }
    }
    dcb.fParity = dcb.Parity != 0;
    dcb.ByteSize = settings.dataBits;
    dcb.StopBits = settings.stopBits == 2 ? 2 : 0;
    dcb.fBinary = settings.binary;
    dcb.fOutxCtsFlow = settings.outxCtsFlow;
    dcb.fOutxDsrFlow = settings.outxDsrFlow;
    dcb.fDtrControl = ControlCode(settings.dtrControl);
    dcb.fRtsControl = ControlCode(settings.rtsControl);
    dcb.fDsrSensitivity = settings.dsrSensitivity;
    dcb.fTXContinueOnXoff = settings.txContinueOnXoff;
    dcb.fOutX = settings.outX;
    dcb.fInX = settings.inX;
    dcb.fNull = settings.nullStrip;
    dcb.fAbortOnError = settings.abortOnError;
    dcb.XonChar = settings.xonChar;
    dcb.XoffChar = settings.xoffChar;
    if (!m_binding.W32SetCommState(m_handle, &dcb)) {
        return Fail();
    }
    m_dcb = dcb;
    return true;
}

bool CUsbBackend::SetTimeouts(const CPortTimeouts& timeouts) {
    FTTIMEOUTS t{timeouts.readInterval, timeouts.readTotalMultiplier, timeouts.readTotalConstant,
                 timeouts.writeTotalMultiplier, timeouts.writeTotalConstant};
    return m_binding.W32SetCommTimeouts(m_handle, &t) || Fail();
}

bool CUsbBackend::SetMask(uint32_t eventMask) {
    return m_binding.W32SetCommMask(m_handle, eventMask) || Fail();
}

void CUsbBackend::Purge() {
    m_binding.W32PurgeComm(m_handle, FT_PURGE_ALL);
}
