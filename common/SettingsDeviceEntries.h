#pragma once

#include "link/DeviceEntries.h"

// The COM table's "Devices" entries ("COM<n>" = device path) kept in the
// settings store, read afresh on every call so that entries written by hand
// are seen at the next open.
class CSettingsDeviceEntries : public IDeviceEntries {
public:
    std::map<int, std::string> Entries() const override;
    void WriteEntry(int comNumber, const std::string& path) override;
};
