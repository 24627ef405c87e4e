#include "ctl/OverlayDeviceEntries.h"

#include "link/ComTable.h"
#include "link/TtyScanner.h"

int COverlayDeviceEntries::Add(const std::string& path) {
    const std::map<int, std::string> entries = Entries();
    for (const auto& [number, entryPath] : entries) {
        if (SamePath(entryPath, path)) {
            return number;
        }
    }
    for (int number = CComTable::kMaxNumber; number >= 1; --number) {
        if (entries.count(number) == 0) {
            m_added[number] = path;
            return number;
        }
    }
    return 0;
}

std::map<int, std::string> COverlayDeviceEntries::Entries() const {
    std::map<int, std::string> entries =
        m_pBase != nullptr ? m_pBase->Entries() : std::map<int, std::string>{};
    for (const auto& [number, path] : m_added) {
        entries[number] = path;
    }
    return entries;
}

void COverlayDeviceEntries::WriteEntry(int comNumber, const std::string& path) {
    if (m_pBase != nullptr) {
        m_pBase->WriteEntry(comNumber, path);
    }
}
