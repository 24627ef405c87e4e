#pragma once

#include <map>
#include <string>

#include "link/DeviceEntries.h"

// The COM table's entries plus entries that no store keeps: a device path
// named on orvanectl's command line opens under a COM number of its own for
// this run, by the same open as every COM port, and the settings stay as
// they are. Written entries (the numbering of new ports) go to the base.
class COverlayDeviceEntries : public IDeviceEntries {
public:
    explicit COverlayDeviceEntries(IDeviceEntries* base) : m_pBase(base) {}

    // The COM number under which `path` opens: the number of its entry when
    // the store has one, else the highest free number, added here. 0 when
    // every number is taken.
    int Add(const std::string& path);

    std::map<int, std::string> Entries() const override;
    void WriteEntry(int comNumber, const std::string& path) override;

private:
    IDeviceEntries* m_pBase;  // may be null: no stored entries
    std::map<int, std::string> m_added;
};
