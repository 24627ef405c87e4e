#include "link/Ftd2xxBinding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

#include "link/DebugOutput.h"

using namespace ftd2xx;

namespace {

std::mutex g_folderMutex;
std::string g_libraryFolder;

std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return {};
    }
    std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

}  // namespace

CFtd2xxBinding::~CFtd2xxBinding() {
    Unload();
}

void CFtd2xxBinding::SetLibraryFolder(const std::string& folder) {
    std::lock_guard lock(g_folderMutex);
    g_libraryFolder = folder;
}

std::string CFtd2xxBinding::LibraryFolder() {
    std::lock_guard lock(g_folderMutex);
    return g_libraryFolder.empty() ? ExecutableFolder() : g_libraryFolder;
}

template <typename Entry>
void CFtd2xxBinding::Bind(Entry& entry, const char* name) {
    entry = reinterpret_cast<Entry>(::dlsym(m_module, name));
    if (entry == nullptr) {
        DebugOutput(std::string("Fehler: Kann ") + name + " nicht initialisieren");
    }
}

void CFtd2xxBinding::Load() {
    if (m_module != nullptr) {
        return;
    }
    const std::string folder = LibraryFolder();
    if (!folder.empty()) {
        m_module = ::dlopen((folder + "/" + kLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (m_module == nullptr) {
        m_module = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    }
    if (m_module == nullptr) {
        DebugOutput(std::string("Fehler: Kann ") + kLibraryName + " nicht laden");
        return;
    }
    Bind(m_pfnSetBaudRate, "FT_SetBaudRate");
    Bind(m_pfnSetLatencyTimer, "FT_SetLatencyTimer");
    Bind(m_pfnSetUSBParameters, "FT_SetUSBParameters");
    Bind(m_pfnListDevices, "FT_ListDevices");
    Bind(m_pfnCreateDeviceInfoList, "FT_CreateDeviceInfoList");
    Bind(m_pfnGetDeviceInfoList, "FT_GetDeviceInfoList");
    Bind(m_pfnGetDeviceInfoDetail, "FT_GetDeviceInfoDetail");
    Bind(m_pfnResetDevice, "FT_ResetDevice");
    Bind(m_pfnW32CreateFile, "FT_W32_CreateFile");
    Bind(m_pfnW32CloseHandle, "FT_W32_CloseHandle");
    Bind(m_pfnW32ReadFile, "FT_W32_ReadFile");
    Bind(m_pfnW32WriteFile, "FT_W32_WriteFile");
    Bind(m_pfnW32GetLastError, "FT_W32_GetLastError");
    Bind(m_pfnW32GetOverlappedResult, "FT_W32_GetOverlappedResult");
    Bind(m_pfnW32ClearCommBreak, "FT_W32_ClearCommBreak");
    Bind(m_pfnW32ClearCommError, "FT_W32_ClearCommError");
    Bind(m_pfnW32EscapeCommFunction, "FT_W32_EscapeCommFunction");
    Bind(m_pfnW32GetCommModemStatus, "FT_W32_GetCommModemStatus");
    Bind(m_pfnW32GetCommState, "FT_W32_GetCommState");
    Bind(m_pfnW32GetCommTimeouts, "FT_W32_GetCommTimeouts");
    Bind(m_pfnW32PurgeComm, "FT_W32_PurgeComm");
    Bind(m_pfnW32SetCommBreak, "FT_W32_SetCommBreak");
    Bind(m_pfnW32SetCommMask, "FT_W32_SetCommMask");
    Bind(m_pfnW32SetCommState, "FT_W32_SetCommState");
    Bind(m_pfnW32SetCommTimeouts, "FT_W32_SetCommTimeouts");
    Bind(m_pfnW32SetupComm, "FT_W32_SetupComm");
    Bind(m_pfnW32WaitCommEvent, "FT_W32_WaitCommEvent");
}

void CFtd2xxBinding::ClearEntries() {
    m_pfnListDevices = nullptr;
    m_pfnCreateDeviceInfoList = nullptr;
    m_pfnGetDeviceInfoList = nullptr;
    m_pfnGetDeviceInfoDetail = nullptr;
    m_pfnResetDevice = nullptr;
    m_pfnSetBaudRate = nullptr;
    m_pfnSetLatencyTimer = nullptr;
    m_pfnSetUSBParameters = nullptr;
    m_pfnW32CreateFile = nullptr;
    m_pfnW32CloseHandle = nullptr;
    m_pfnW32ReadFile = nullptr;
    m_pfnW32WriteFile = nullptr;
    m_pfnW32GetLastError = nullptr;
    m_pfnW32GetOverlappedResult = nullptr;
    m_pfnW32ClearCommBreak = nullptr;
    m_pfnW32ClearCommError = nullptr;
    m_pfnW32EscapeCommFunction = nullptr;
    m_pfnW32GetCommModemStatus = nullptr;
    m_pfnW32GetCommState = nullptr;
    m_pfnW32GetCommTimeouts = nullptr;
    m_pfnW32PurgeComm = nullptr;
    m_pfnW32SetCommBreak = nullptr;
    m_pfnW32SetCommMask = nullptr;
    m_pfnW32SetCommState = nullptr;
    m_pfnW32SetCommTimeouts = nullptr;
    m_pfnW32SetupComm = nullptr;
    m_pfnW32WaitCommEvent = nullptr;
}

void CFtd2xxBinding::Unload() {
    if (m_module == nullptr) {
        return;
    }
    ::dlclose(m_module);
    m_module = nullptr;
    ClearEntries();
}

void CFtd2xxBinding::ListFreeAdapters(std::vector<std::string>& list) {
    std::vector<CAdapter> adapters;
    ListAdapters(adapters);
    for (const CAdapter& adapter : adapters) {
        if (!adapter.open && !adapter.serial.empty()) {
            list.push_back(adapter.serial);
        }
    }
}

void CFtd2xxBinding::ListAdapters(std::vector<CAdapter>& list) {
    DWORD count = 0;
    if (CreateDeviceInfoList(&count) != FT_OK || count == 0) {
        return;
    }
    const DWORD allocated = count;
    auto nodes = std::make_unique<FT_DEVICE_LIST_INFO_NODE[]>(allocated);
    if (GetDeviceInfoList(nodes.get(), &count) != FT_OK || count == 0) {
        return;
    }
    for (DWORD i = 0; i < count && i < allocated; ++i) {
        const FT_DEVICE_LIST_INFO_NODE& node = nodes[i];
        // The library's texts may fill their whole field without a zero byte.
        list.push_back(
            {std::string(node.SerialNumber, strnlen(node.SerialNumber, sizeof node.SerialNumber)),
             node.ftHandle != nullptr});
    }
}

FT_STATUS CFtd2xxBinding::CreateDeviceInfoList(DWORD* count) {
    Load();
    if (m_pfnCreateDeviceInfoList == nullptr) {
        DebugOutput("FT_CreateDeviceInfoList ist nicht vorhanden!");
        return FT_INVALID_HANDLE;
    }
    return m_pfnCreateDeviceInfoList(count);
}

FT_STATUS CFtd2xxBinding::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* nodes, DWORD* count) {
    Load();
    if (m_pfnGetDeviceInfoList == nullptr) {
        DebugOutput("FT_GetDeviceInfoList ist nicht vorhanden!");
        return FT_INVALID_HANDLE;
    }
    return m_pfnGetDeviceInfoList(nodes, count);
}

FT_STATUS CFtd2xxBinding::SetLatencyTimer(FT_HANDLE handle, UCHAR latencyMs) {
    return m_pfnSetLatencyTimer ? m_pfnSetLatencyTimer(handle, latencyMs) : FT_INVALID_HANDLE;
}

FT_HANDLE CFtd2xxBinding::W32CreateFile(const char* name, DWORD access, DWORD share, DWORD create,
                                        DWORD flags) {
    return m_pfnW32CreateFile
               ? m_pfnW32CreateFile(name, access, share, nullptr, create, flags, nullptr)
               : FtInvalidHandle();
}

bool CFtd2xxBinding::W32CloseHandle(FT_HANDLE handle) {
    return m_pfnW32CloseHandle && m_pfnW32CloseHandle(handle);
}

bool CFtd2xxBinding::W32ReadFile(FT_HANDLE handle, void* buffer, DWORD size, DWORD* got) {
    return m_pfnW32ReadFile && m_pfnW32ReadFile(handle, buffer, size, got, nullptr);
}

bool CFtd2xxBinding::W32WriteFile(FT_HANDLE handle, const void* data, DWORD size, DWORD* written) {
    // The library's prototype takes a non-const buffer; it only reads it.
    return m_pfnW32WriteFile &&
           m_pfnW32WriteFile(handle, const_cast<void*>(data), size, written, nullptr);
}

DWORD CFtd2xxBinding::W32GetLastError(FT_HANDLE handle) {
    return m_pfnW32GetLastError ? m_pfnW32GetLastError(handle) : 0;
}

bool CFtd2xxBinding::W32ClearCommError(FT_HANDLE handle, DWORD* errors, FTCOMSTAT* status) {
    return m_pfnW32ClearCommError && m_pfnW32ClearCommError(handle, errors, status);
}

bool CFtd2xxBinding::W32GetCommModemStatus(FT_HANDLE handle, DWORD* lines) {
    return m_pfnW32GetCommModemStatus && m_pfnW32GetCommModemStatus(handle, lines);
}

bool CFtd2xxBinding::W32GetCommState(FT_HANDLE handle, FTDCB* dcb) {
    return m_pfnW32GetCommState && m_pfnW32GetCommState(handle, dcb);
}

void CFtd2xxBinding::W32PurgeComm(FT_HANDLE handle, DWORD mask) {
    if (m_pfnW32PurgeComm) {
        m_pfnW32PurgeComm(handle, mask);
    }
}

bool CFtd2xxBinding::W32SetCommMask(FT_HANDLE handle, ULONG mask) {
    return m_pfnW32SetCommMask && m_pfnW32SetCommMask(handle, mask);
}

bool CFtd2xxBinding::W32SetCommState(FT_HANDLE handle, FTDCB* dcb) {
    return m_pfnW32SetCommState && m_pfnW32SetCommState(handle, dcb);
}

bool CFtd2xxBinding::W32SetCommTimeouts(FT_HANDLE handle, FTTIMEOUTS* timeouts) {
    return m_pfnW32SetCommTimeouts && m_pfnW32SetCommTimeouts(handle, timeouts);
}
