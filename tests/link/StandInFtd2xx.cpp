#include "StandInFtd2xx.h"

#include <dlfcn.h>

#include <vector>

#include "link/Ftd2xxBinding.h"

CStandInFtd2xx::CStandInFtd2xx(const std::string& folder) {
    CFtd2xxBinding::SetLibraryFolder(folder);
    m_module = ::dlopen((folder + "/libftd2xx.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_module == nullptr) {
        return;
    }
    m_addAdapter =
        reinterpret_cast<PFN_FakeFtd2xx_AddAdapter>(::dlsym(m_module, "FakeFtd2xx_AddAdapter"));
    m_log = reinterpret_cast<PFN_FakeFtd2xx_Log>(::dlsym(m_module, "FakeFtd2xx_Log"));
    m_setLineState =
        reinterpret_cast<PFN_FakeFtd2xx_SetLineState>(::dlsym(m_module, "FakeFtd2xx_SetLineState"));
    m_reset = reinterpret_cast<PFN_FakeFtd2xx_Reset>(::dlsym(m_module, "FakeFtd2xx_Reset"));
    if (m_reset != nullptr) {
        m_reset();
    }
}

CStandInFtd2xx::~CStandInFtd2xx() {
    if (m_reset != nullptr) {
        m_reset();
    }
    if (m_module != nullptr) {
        ::dlclose(m_module);
    }
    CFtd2xxBinding::SetLibraryFolder({});
}

void CStandInFtd2xx::AddAdapter(const std::string& serial, const std::string& description,
                                const std::string& portPath, bool openElsewhere) {
    m_addAdapter(serial.c_str(), description.c_str(), portPath.c_str(), openElsewhere ? 1 : 0);
}

std::string CStandInFtd2xx::Log() const {
    std::vector<char> buffer(m_log(nullptr, 0) + 1);
    m_log(buffer.data(), buffer.size());
    return buffer.data();
}

void CStandInFtd2xx::SetLineState(uint32_t errors, uint32_t modemLines) {
    m_setLineState(errors, modemLines);
}
