// A stand-in for FTDI's D2XX library: the same exported names, types and
// layouts, serving adapters on pseudo-terminals that a test configures.
// Built twice: complete, and with FAKE_FTD2XX_PARTIAL lacking some exports.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FakeFtd2xxControl.h"
#include "link/Ftd2xxTypes.h"

using namespace ftd2xx;

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Adapter {
    std::string serial;
    std::string description;
    std::string portPath;
    bool openElsewhere = false;
    void* handle = nullptr;
};

struct Port {
    size_t adapter;
    int fd;
    DWORD lastError = 0;
    FTDCB dcb{};
    FTTIMEOUTS timeouts{};
};

std::mutex g_mutex;
std::vector<Adapter> g_adapters;
std::string g_log;
DWORD g_errors = 0;
DWORD g_modemLines = 0;

void Log(const std::string& line) {
    g_log += line + "\n";
}

Port* AsPort(FT_HANDLE handle) {
    return handle == nullptr || handle == FtInvalidHandle() ? nullptr : static_cast<Port*>(handle);
}

bool Fail(Port* port, DWORD error) {
    if (port != nullptr) {
        port->lastError = error;
    }
    return false;
}

// A pseudo-terminal whose other end was closed plays an unplugged adapter.
bool Gone(Port* port) {
    pollfd fd{port->fd, 0, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace

// ---- Test control ----

EXPORT void FakeFtd2xx_Reset() {
    std::lock_guard lock(g_mutex);
    g_adapters.clear();
    g_log.clear();
    g_errors = 0;
    g_modemLines = 0;
}

EXPORT void FakeFtd2xx_AddAdapter(const char* serial, const char* description, const char* portPath,
                                  int openElsewhere) {
    std::lock_guard lock(g_mutex);
    g_adapters.push_back({serial, description, portPath, openElsewhere != 0, nullptr});
}

EXPORT size_t FakeFtd2xx_Log(char* buffer, size_t size) {
    std::lock_guard lock(g_mutex);
    if (size > 0) {
        const size_t n = std::min(size - 1, g_log.size());
        std::memcpy(buffer, g_log.data(), n);
        buffer[n] = '\0';
    }
    return g_log.size();
}

EXPORT void FakeFtd2xx_SetLineState(uint32_t errors, uint32_t modemLines) {
    std::lock_guard lock(g_mutex);
    g_errors = errors;
    g_modemLines = modemLines;
}

// ---- Device list ----

#ifndef FAKE_FTD2XX_PARTIAL
EXPORT FT_STATUS FT_CreateDeviceInfoList(LPDWORD lpdwNumDevs) {
    std::lock_guard lock(g_mutex);
    Log("FT_CreateDeviceInfoList");
    *lpdwNumDevs = static_cast<DWORD>(g_adapters.size());
    return FT_OK;
}

EXPORT FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* pDest, LPDWORD lpdwNumDevs) {
    std::lock_guard lock(g_mutex);
    Log("FT_GetDeviceInfoList count=" + std::to_string(*lpdwNumDevs));
    const size_t count = std::min<size_t>(*lpdwNumDevs, g_adapters.size());
    for (size_t i = 0; i < count; ++i) {
        const Adapter& adapter = g_adapters[i];
        FT_DEVICE_LIST_INFO_NODE& node = pDest[i];
        std::memset(&node, 0, sizeof node);
        const bool open = adapter.handle != nullptr || adapter.openElsewhere;
        node.Flags = open ? 1 : 0;
        node.Type = 5;
        node.ID = 0x04036001;
        node.LocId = static_cast<DWORD>(0x100 + i);
        // Copied like the library does: a 16-character number has no zero byte.
        std::strncpy(node.SerialNumber, adapter.serial.c_str(), sizeof node.SerialNumber);
        std::strncpy(node.Description, adapter.description.c_str(), sizeof node.Description - 1);
        node.ftHandle = adapter.handle != nullptr ? adapter.handle
                                                  : (adapter.openElsewhere ? &g_adapters : nullptr);
    }
    *lpdwNumDevs = static_cast<DWORD>(count);
    return FT_OK;
}
#endif

EXPORT FT_STATUS FT_ListDevices(PVOID, PVOID, DWORD) {
    std::lock_guard lock(g_mutex);
    Log("FT_ListDevices");
    return FT_OK;
}

EXPORT FT_STATUS FT_GetDeviceInfoDetail(DWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPVOID, LPVOID,
                                        FT_HANDLE*) {
    std::lock_guard lock(g_mutex);
    Log("FT_GetDeviceInfoDetail");
    return FT_OK;
}

EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE) {
    std::lock_guard lock(g_mutex);
    Log("FT_ResetDevice");
    return FT_OK;
}

EXPORT FT_STATUS FT_SetBaudRate(FT_HANDLE, ULONG baud) {
    std::lock_guard lock(g_mutex);
    Log("FT_SetBaudRate " + std::to_string(baud));
    return FT_OK;
}

#ifndef FAKE_FTD2XX_PARTIAL
EXPORT FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, UCHAR ucLatency) {
    std::lock_guard lock(g_mutex);
    Log("FT_SetLatencyTimer " + std::to_string(ucLatency));
    return AsPort(handle) != nullptr ? FT_OK : FT_INVALID_HANDLE;
}
#endif

EXPORT FT_STATUS FT_SetUSBParameters(FT_HANDLE, ULONG, ULONG) {
    std::lock_guard lock(g_mutex);
    Log("FT_SetUSBParameters");
    return FT_OK;
}

// ---- W32 functions ----

EXPORT FT_HANDLE FT_W32_CreateFile(LPCTSTR lpszName, DWORD dwAccess, DWORD dwShareMode,
                                   LPFT_SECURITY_ATTRIBUTES, DWORD dwCreate, DWORD dwAttrsAndFlags,
                                   HANDLE) {
    std::lock_guard lock(g_mutex);
    Log(std::string("FT_W32_CreateFile name=") + lpszName + " access=" + Hex(dwAccess) + " share=" +
        Hex(dwShareMode) + " create=" + Hex(dwCreate) + " flags=" + Hex(dwAttrsAndFlags));
    // Like the library on Linux: no overlapped I/O, so no handle asking for it.
    if (!(dwAttrsAndFlags & FT_OPEN_BY_SERIAL_NUMBER) ||
        (dwAttrsAndFlags & FT_FILE_FLAG_OVERLAPPED)) {
        return FtInvalidHandle();
    }
    for (size_t i = 0; i < g_adapters.size(); ++i) {
        Adapter& adapter = g_adapters[i];
        if (adapter.serial != lpszName || adapter.openElsewhere || adapter.handle != nullptr) {
            continue;
        }
        const int fd = ::open(adapter.portPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return FtInvalidHandle();
        }
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
        Port* port = new Port{i, fd};
        port->dcb.DCBlength = sizeof port->dcb;
        port->dcb.BaudRate = 9600;
        port->dcb.ByteSize = 8;
        adapter.handle = port;
        return port;
    }
    return FtInvalidHandle();
}

EXPORT BOOL FT_W32_CloseHandle(FT_HANDLE ftHandle) {
    std::lock_guard lock(g_mutex);
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    Log("FT_W32_CloseHandle");
    ::close(port->fd);
    if (port->adapter < g_adapters.size() && g_adapters[port->adapter].handle == port) {
        g_adapters[port->adapter].handle = nullptr;
    }
    delete port;
    return true;
}

EXPORT BOOL FT_W32_ReadFile(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD nBufferSize,
                            LPDWORD lpBytesReturned, LPFT_OVERLAPPED lpOverlapped) {
    Port* port = AsPort(ftHandle);
    *lpBytesReturned = 0;
    if (port == nullptr || lpOverlapped != nullptr) {
        return Fail(port, FT_ERROR_INVALID_PARAMETER);
    }
    const ssize_t n = ::read(port->fd, lpBuffer, nBufferSize);
    if (n < 0 && errno == EAGAIN) {
        return true;  // time-outs say: return at once with what is there
    }
    if (n <= 0) {
        return Fail(port, FT_ERROR_DEVICE_NOT_CONNECTED);
    }
    *lpBytesReturned = static_cast<DWORD>(n);
    return true;
}

EXPORT BOOL FT_W32_WriteFile(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD nBufferSize,
                             LPDWORD lpBytesWritten, LPFT_OVERLAPPED lpOverlapped) {
    Port* port = AsPort(ftHandle);
    *lpBytesWritten = 0;
    if (port == nullptr || lpOverlapped != nullptr) {
        return Fail(port, FT_ERROR_INVALID_PARAMETER);
    }
    // Non-overlapped writes without a time-out return when all is sent, at
    // the pace of the line (10 bits a byte).
    const auto lineDone =
        std::chrono::steady_clock::now() +
        std::chrono::microseconds(
            port->dcb.BaudRate == 0 ? 0 : nBufferSize * 10000000ull / port->dcb.BaudRate);
    const char* data = static_cast<const char*>(lpBuffer);
    while (*lpBytesWritten < nBufferSize) {
        const ssize_t n = ::write(port->fd, data + *lpBytesWritten, nBufferSize - *lpBytesWritten);
        if (n > 0) {
            *lpBytesWritten += static_cast<DWORD>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd fd{port->fd, POLLOUT, 0};
            ::poll(&fd, 1, 100);
        } else if (n < 0 && errno != EINTR) {
            return Fail(port, FT_ERROR_DEVICE_NOT_CONNECTED);
        }
    }
    std::this_thread::sleep_until(lineDone);
    return true;
}

#ifndef FAKE_FTD2XX_PARTIAL
EXPORT DWORD FT_W32_GetLastError(FT_HANDLE ftHandle) {
    Port* port = AsPort(ftHandle);
    return port != nullptr ? port->lastError : FT_ERROR_INVALID_HANDLE;
}
#endif

EXPORT BOOL FT_W32_GetOverlappedResult(FT_HANDLE ftHandle, LPFT_OVERLAPPED, LPDWORD, BOOL) {
    return Fail(AsPort(ftHandle), FT_ERROR_INVALID_PARAMETER);
}

EXPORT BOOL FT_W32_ClearCommBreak(FT_HANDLE) {
    return true;
}

EXPORT BOOL FT_W32_ClearCommError(FT_HANDLE ftHandle, LPDWORD lpdwErrors, LPFTCOMSTAT lpftComstat) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    int in = 0;
    if (Gone(port) || ::ioctl(port->fd, FIONREAD, &in) != 0) {
        return Fail(port, FT_ERROR_DEVICE_NOT_CONNECTED);
    }
    std::lock_guard lock(g_mutex);
    *lpdwErrors = g_errors;
    g_errors = 0;
    *lpftComstat = FTCOMSTAT{};
    lpftComstat->cbInQue = static_cast<DWORD>(in);
    return true;
}

EXPORT BOOL FT_W32_EscapeCommFunction(FT_HANDLE, DWORD) {
    return true;
}

EXPORT BOOL FT_W32_GetCommModemStatus(FT_HANDLE ftHandle, LPDWORD lpdwModemStatus) {
    if (AsPort(ftHandle) == nullptr) {
        return false;
    }
    std::lock_guard lock(g_mutex);
    *lpdwModemStatus = g_modemLines;
    return true;
}

EXPORT BOOL FT_W32_GetCommState(FT_HANDLE ftHandle, LPFTDCB lpftDcb) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    *lpftDcb = port->dcb;
    return true;
}

EXPORT BOOL FT_W32_GetCommTimeouts(FT_HANDLE ftHandle, FTTIMEOUTS* pTimeouts) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    *pTimeouts = port->timeouts;
    return true;
}

EXPORT BOOL FT_W32_PurgeComm(FT_HANDLE ftHandle, DWORD dwMask) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    std::lock_guard lock(g_mutex);
    Log("FT_W32_PurgeComm " + Hex(dwMask));
    ::tcflush(port->fd, TCIOFLUSH);
    return true;
}

EXPORT BOOL FT_W32_SetCommBreak(FT_HANDLE) {
    return true;
}

EXPORT BOOL FT_W32_SetCommMask(FT_HANDLE ftHandle, ULONG) {
    return AsPort(ftHandle) != nullptr;
}

EXPORT BOOL FT_W32_SetCommState(FT_HANDLE ftHandle, LPFTDCB lpftDcb) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    port->dcb = *lpftDcb;
    std::lock_guard lock(g_mutex);
    Log("FT_W32_SetCommState baud=" + std::to_string(lpftDcb->BaudRate) + " bits=" +
        std::to_string(lpftDcb->ByteSize) + " parity=" + std::to_string(lpftDcb->Parity) +
        " stop=" + std::to_string(lpftDcb->StopBits) + " dtr=" +
        std::to_string(lpftDcb->fDtrControl) + " rts=" + std::to_string(lpftDcb->fRtsControl) +
        " cts=" + std::to_string(lpftDcb->fOutxCtsFlow) + " xon=" + std::to_string(lpftDcb->fOutX));
    return true;
}

#ifndef FAKE_FTD2XX_PARTIAL
EXPORT BOOL FT_W32_SetCommTimeouts(FT_HANDLE ftHandle, FTTIMEOUTS* pTimeouts) {
    Port* port = AsPort(ftHandle);
    if (port == nullptr) {
        return false;
    }
    port->timeouts = *pTimeouts;
    std::lock_guard lock(g_mutex);
    Log("FT_W32_SetCommTimeouts " + Hex(pTimeouts->ReadIntervalTimeout) + " " +
        std::to_string(pTimeouts->ReadTotalTimeoutMultiplier) + " " +
        std::to_string(pTimeouts->ReadTotalTimeoutConstant) + " " +
        std::to_string(pTimeouts->WriteTotalTimeoutMultiplier) + " " +
        std::to_string(pTimeouts->WriteTotalTimeoutConstant));
    return true;
}
#endif

EXPORT BOOL FT_W32_SetupComm(FT_HANDLE, DWORD, DWORD) {
    std::lock_guard lock(g_mutex);
    Log("FT_W32_SetupComm");
    return true;
}

EXPORT BOOL FT_W32_WaitCommEvent(FT_HANDLE ftHandle, PULONG, LPFT_OVERLAPPED) {
    std::lock_guard lock(g_mutex);
    Log("FT_W32_WaitCommEvent");
    return Fail(AsPort(ftHandle), FT_ERROR_INVALID_PARAMETER);
}
