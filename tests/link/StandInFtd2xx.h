#pragma once

#include <string>

#include "FakeFtd2xxControl.h"

// Drives the stand-in libftd2xx.so of a folder: points the binding at that
// folder and keeps the library loaded (with its adapters and call log) for
// the test's lifetime, even while engines load and unload it.
class CStandInFtd2xx {
public:
    static std::string CompleteFolder() { return ORVANE_FTD2XX_COMPLETE_DIR; }
    static std::string PartialFolder() { return ORVANE_FTD2XX_PARTIAL_DIR; }

    explicit CStandInFtd2xx(const std::string& folder = CompleteFolder());
    ~CStandInFtd2xx();

    CStandInFtd2xx(const CStandInFtd2xx&) = delete;
    CStandInFtd2xx& operator=(const CStandInFtd2xx&) = delete;

    bool IsValid() const { return m_reset != nullptr; }
    void AddAdapter(const std::string& serial, const std::string& description,
                    const std::string& portPath, bool openElsewhere = false);
    std::string Log() const;
    void SetLineState(uint32_t errors, uint32_t modemLines);

private:
    void* m_module = nullptr;
    PFN_FakeFtd2xx_Reset m_reset = nullptr;
    PFN_FakeFtd2xx_AddAdapter m_addAdapter = nullptr;
    PFN_FakeFtd2xx_Log m_log = nullptr;
    PFN_FakeFtd2xx_SetLineState m_setLineState = nullptr;
};
