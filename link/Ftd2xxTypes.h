#pragma once

// Types, constants and entry point signatures of FTDI's D2XX library for
// Linux, written from its published programmer's guide. On Linux the
// library's Windows-style types are 32-bit (DWORD, ULONG, BOOL), handles are
// pointers, and the W32 functions take an OVERLAPPED pointer that must be
// null: only non-overlapped I/O, on a handle opened without the overlapped
// flag. Everything lives in namespace ftd2xx so that the Windows-style names
// stay out of the rest of the program.

#include <cstdint>

namespace ftd2xx {

typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef uint8_t UCHAR;
typedef int32_t BOOL;
typedef DWORD* LPDWORD;
typedef ULONG* PULONG;
typedef void* PVOID;
typedef void* LPVOID;
typedef void* HANDLE;
typedef const char* LPCTSTR;

typedef PVOID FT_HANDLE;
typedef ULONG FT_STATUS;

struct FT_OVERLAPPED {
    DWORD Internal;
    DWORD InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
typedef FT_OVERLAPPED* LPFT_OVERLAPPED;

struct FT_SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef FT_SECURITY_ATTRIBUTES* LPFT_SECURITY_ATTRIBUTES;

struct FT_DEVICE_LIST_INFO_NODE {
    ULONG Flags;
    ULONG Type;
    ULONG ID;
    DWORD LocId;
    char SerialNumber[16];
    char Description[64];
    FT_HANDLE ftHandle;
};

struct FTCOMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};
typedef FTCOMSTAT* LPFTCOMSTAT;

struct FTDCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
typedef FTDCB* LPFTDCB;

struct FTTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
typedef FTTIMEOUTS* LPFTTIMEOUTS;

typedef FT_STATUS (*PFN_FT_ListDevices)(PVOID pArg1, PVOID pArg2, DWORD Flags);
typedef FT_STATUS (*PFN_FT_CreateDeviceInfoList)(LPDWORD lpdwNumDevs);
typedef FT_STATUS (*PFN_FT_GetDeviceInfoList)(FT_DEVICE_LIST_INFO_NODE* pDest, LPDWORD lpdwNumDevs);
typedef FT_STATUS (*PFN_FT_GetDeviceInfoDetail)(DWORD dwIndex, LPDWORD lpdwFlags, LPDWORD lpdwType,
                                                LPDWORD lpdwID, LPDWORD lpdwLocId,
                                                LPVOID lpSerialNumber, LPVOID lpDescription,
                                                FT_HANDLE* pftHandle);
typedef FT_STATUS (*PFN_FT_ResetDevice)(FT_HANDLE ftHandle);
typedef FT_STATUS (*PFN_FT_SetBaudRate)(FT_HANDLE ftHandle, ULONG BaudRate);
typedef FT_STATUS (*PFN_FT_SetLatencyTimer)(FT_HANDLE ftHandle, UCHAR ucLatency);
typedef FT_STATUS (*PFN_FT_SetUSBParameters)(FT_HANDLE ftHandle, ULONG ulInTransferSize,
                                             ULONG ulOutTransferSize);
typedef FT_HANDLE (*PFN_FT_W32_CreateFile)(LPCTSTR lpszName, DWORD dwAccess, DWORD dwShareMode,
                                           LPFT_SECURITY_ATTRIBUTES lpSecurityAttributes,
                                           DWORD dwCreate, DWORD dwAttrsAndFlags, HANDLE hTemplate);
typedef BOOL (*PFN_FT_W32_CloseHandle)(FT_HANDLE ftHandle);
typedef BOOL (*PFN_FT_W32_ReadFile)(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD nBufferSize,
                                    LPDWORD lpBytesReturned, LPFT_OVERLAPPED lpOverlapped);
typedef BOOL (*PFN_FT_W32_WriteFile)(FT_HANDLE ftHandle, LPVOID lpBuffer, DWORD nBufferSize,
                                     LPDWORD lpBytesWritten, LPFT_OVERLAPPED lpOverlapped);
typedef DWORD (*PFN_FT_W32_GetLastError)(FT_HANDLE ftHandle);
typedef BOOL (*PFN_FT_W32_GetOverlappedResult)(FT_HANDLE ftHandle, LPFT_OVERLAPPED lpOverlapped,
                                               LPDWORD lpdwBytesTransferred, BOOL bWait);
typedef BOOL (*PFN_FT_W32_ClearCommBreak)(FT_HANDLE ftHandle);
typedef BOOL (*PFN_FT_W32_ClearCommError)(FT_HANDLE ftHandle, LPDWORD lpdwErrors,
                                          LPFTCOMSTAT lpftComstat);
typedef BOOL (*PFN_FT_W32_EscapeCommFunction)(FT_HANDLE ftHandle, DWORD dwFunc);
typedef BOOL (*PFN_FT_W32_GetCommModemStatus)(FT_HANDLE ftHandle, LPDWORD lpdwModemStatus);
typedef BOOL (*PFN_FT_W32_GetCommState)(FT_HANDLE ftHandle, LPFTDCB lpftDcb);
typedef BOOL (*PFN_FT_W32_GetCommTimeouts)(FT_HANDLE ftHandle, FTTIMEOUTS* pTimeouts);
typedef BOOL (*PFN_FT_W32_PurgeComm)(FT_HANDLE ftHandle, DWORD dwMask);
typedef BOOL (*PFN_FT_W32_SetCommBreak)(FT_HANDLE ftHandle);
typedef BOOL (*PFN_FT_W32_SetCommMask)(FT_HANDLE ftHandle, ULONG ulEventMask);
typedef BOOL (*PFN_FT_W32_SetCommState)(FT_HANDLE ftHandle, LPFTDCB lpftDcb);
typedef BOOL (*PFN_FT_W32_SetCommTimeouts)(FT_HANDLE ftHandle, FTTIMEOUTS* pTimeouts);
typedef BOOL (*PFN_FT_W32_SetupComm)(FT_HANDLE ftHandle, DWORD dwReadBufferSize,
                                     DWORD dwWriteBufferSize);
typedef BOOL (*PFN_FT_W32_WaitCommEvent)(FT_HANDLE ftHandle, PULONG pulEvent,
                                         LPFT_OVERLAPPED lpOverlapped);

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;

constexpr DWORD FT_GENERIC_READ = 0x80000000u;
constexpr DWORD FT_GENERIC_WRITE = 0x40000000u;
constexpr DWORD FT_OPEN_EXISTING = 3;
constexpr DWORD FT_FILE_ATTRIBUTE_NORMAL = 0x80;
// Asks for overlapped I/O, which the library supports on Windows only.
constexpr DWORD FT_FILE_FLAG_OVERLAPPED = 0x40000000u;
constexpr DWORD FT_PURGE_ALL = 0x0F;  // abort and clear both directions

// Windows error codes the library's W32 last-error function reports.
constexpr DWORD FT_ERROR_ACCESS_DENIED = 5;
constexpr DWORD FT_ERROR_INVALID_HANDLE = 6;
constexpr DWORD FT_ERROR_INVALID_PARAMETER = 87;
constexpr DWORD FT_ERROR_IO_PENDING = 997;
constexpr DWORD FT_ERROR_DEVICE_NOT_CONNECTED = 1167;

// FTDCB control values.
constexpr DWORD FT_DTR_CONTROL_DISABLE = 0;
constexpr DWORD FT_DTR_CONTROL_ENABLE = 1;
constexpr DWORD FT_DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD FT_RTS_CONTROL_DISABLE = 0;
constexpr DWORD FT_RTS_CONTROL_ENABLE = 1;
constexpr DWORD FT_RTS_CONTROL_HANDSHAKE = 2;

inline FT_HANDLE FtInvalidHandle() {
    return reinterpret_cast<FT_HANDLE>(intptr_t{-1});
}

}  // namespace ftd2xx
