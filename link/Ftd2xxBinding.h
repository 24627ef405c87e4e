#pragma once

#include <string>
#include <vector>

#include "link/Ftd2xxTypes.h"

// Run-time binding to FTDI's D2XX library "libftd2xx.so". Loaded only by a
// USB open or a USB listing, looked for in the library folder (by default the
// executable's folder) first, then by the system's library search; tried
// again on the next such call while it is missing. Each forwarder calls its
// entry point, or returns the "not available" result when the library lacks
// it. Load and Unload run on the caller's (UI) thread while no USB port is
// open; forwarders may run on the monitor thread.
class CFtd2xxBinding {
public:
    static constexpr const char* kLibraryName = "libftd2xx.so";

    CFtd2xxBinding() = default;
    ~CFtd2xxBinding();

    CFtd2xxBinding(const CFtd2xxBinding&) = delete;
    CFtd2xxBinding& operator=(const CFtd2xxBinding&) = delete;

    // Process-wide: the folder looked in before the system's search. Empty
    // (the default) means the executable's folder.
    static void SetLibraryFolder(const std::string& folder);
    static std::string LibraryFolder();

    void Load();
    void Unload();
    bool IsLoaded() const { return m_module != nullptr; }

    // Appends the serial number of every adapter that is not open anywhere
    // (null handle) and has a serial number.
    void ListFreeAdapters(std::vector<std::string>& list);

    struct CAdapter {
        std::string serial;
        bool open = false;  // open somewhere (the node carries a handle)
    };
    // Appends every adapter the library reports, open or not.
    void ListAdapters(std::vector<CAdapter>& list);

    // Load first, then the entry point; a missing one is reported on the
    // debug output and counts as status 1.
    ftd2xx::FT_STATUS CreateDeviceInfoList(ftd2xx::DWORD* count);
    ftd2xx::FT_STATUS GetDeviceInfoList(ftd2xx::FT_DEVICE_LIST_INFO_NODE* nodes,
                                        ftd2xx::DWORD* count);

    ftd2xx::FT_STATUS SetLatencyTimer(ftd2xx::FT_HANDLE handle, ftd2xx::UCHAR latencyMs);
    ftd2xx::FT_HANDLE W32CreateFile(const char* name, ftd2xx::DWORD access, ftd2xx::DWORD share,
                                    ftd2xx::DWORD create, ftd2xx::DWORD flags);
    bool W32CloseHandle(ftd2xx::FT_HANDLE handle);
    bool W32ReadFile(ftd2xx::FT_HANDLE handle, void* buffer, ftd2xx::DWORD size,
                     ftd2xx::DWORD* got);
    bool W32WriteFile(ftd2xx::FT_HANDLE handle, const void* data, ftd2xx::DWORD size,
                      ftd2xx::DWORD* written);
    ftd2xx::DWORD W32GetLastError(ftd2xx::FT_HANDLE handle);
    bool W32ClearCommError(ftd2xx::FT_HANDLE handle, ftd2xx::DWORD* errors,
                           ftd2xx::FTCOMSTAT* status);
    bool W32GetCommModemStatus(ftd2xx::FT_HANDLE handle, ftd2xx::DWORD* lines);
    bool W32GetCommState(ftd2xx::FT_HANDLE handle, ftd2xx::FTDCB* dcb);
    void W32PurgeComm(ftd2xx::FT_HANDLE handle, ftd2xx::DWORD mask);
    bool W32SetCommMask(ftd2xx::FT_HANDLE handle, ftd2xx::ULONG mask);
    bool W32SetCommState(ftd2xx::FT_HANDLE handle, ftd2xx::FTDCB* dcb);
    bool W32SetCommTimeouts(ftd2xx::FT_HANDLE handle, ftd2xx::FTTIMEOUTS* timeouts);

private:
    template <typename Entry>
    void Bind(Entry& entry, const char* name);
    void ClearEntries();

    void* m_module = nullptr;
    ftd2xx::PFN_FT_ListDevices m_pfnListDevices = nullptr;
    ftd2xx::PFN_FT_CreateDeviceInfoList m_pfnCreateDeviceInfoList = nullptr;
    ftd2xx::PFN_FT_GetDeviceInfoList m_pfnGetDeviceInfoList = nullptr;
    ftd2xx::PFN_FT_GetDeviceInfoDetail m_pfnGetDeviceInfoDetail = nullptr;
    ftd2xx::PFN_FT_ResetDevice m_pfnResetDevice = nullptr;
    ftd2xx::PFN_FT_SetBaudRate m_pfnSetBaudRate = nullptr;
    ftd2xx::PFN_FT_SetLatencyTimer m_pfnSetLatencyTimer = nullptr;
    ftd2xx::PFN_FT_SetUSBParameters m_pfnSetUSBParameters = nullptr;
    ftd2xx::PFN_FT_W32_CreateFile m_pfnW32CreateFile = nullptr;
    ftd2xx::PFN_FT_W32_CloseHandle m_pfnW32CloseHandle = nullptr;
    ftd2xx::PFN_FT_W32_ReadFile m_pfnW32ReadFile = nullptr;
    ftd2xx::PFN_FT_W32_WriteFile m_pfnW32WriteFile = nullptr;
    ftd2xx::PFN_FT_W32_GetLastError m_pfnW32GetLastError = nullptr;
    ftd2xx::PFN_FT_W32_GetOverlappedResult m_pfnW32GetOverlappedResult = nullptr;
    ftd2xx::PFN_FT_W32_ClearCommBreak m_pfnW32ClearCommBreak = nullptr;
    ftd2xx::PFN_FT_W32_ClearCommError m_pfnW32ClearCommError = nullptr;
    ftd2xx::PFN_FT_W32_EscapeCommFunction m_pfnW32EscapeCommFunction = nullptr;
    ftd2xx::PFN_FT_W32_GetCommModemStatus m_pfnW32GetCommModemStatus = nullptr;
    ftd2xx::PFN_FT_W32_GetCommState m_pfnW32GetCommState = nullptr;
    ftd2xx::PFN_FT_W32_GetCommTimeouts m_pfnW32GetCommTimeouts = nullptr;
    ftd2xx::PFN_FT_W32_PurgeComm m_pfnW32PurgeComm = nullptr;
    ftd2xx::PFN_FT_W32_SetCommBreak m_pfnW32SetCommBreak = nullptr;
    ftd2xx::PFN_FT_W32_SetCommMask m_pfnW32SetCommMask = nullptr;
    ftd2xx::PFN_FT_W32_SetCommState m_pfnW32SetCommState = nullptr;
    ftd2xx::PFN_FT_W32_SetCommTimeouts m_pfnW32SetCommTimeouts = nullptr;
    ftd2xx::PFN_FT_W32_SetupComm m_pfnW32SetupComm = nullptr;
    ftd2xx::PFN_FT_W32_WaitCommEvent m_pfnW32WaitCommEvent = nullptr;
};
