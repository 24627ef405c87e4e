#pragma once

#include <map>
#include <string>

// The "Devices" entries of the COM table: COM number -> device path.
// The GUI backs this with the settings store, tests with a map. Reads go to
// the store on every call (no caching), so entries written by hand are seen
// at the next open or discovery.
class IDeviceEntries {
public:
    virtual ~IDeviceEntries() = default;
    // Every entry "COM<n>" = path with 1 <= n <= 255.
    virtual std::map<int, std::string> Entries() const = 0;
    virtual void WriteEntry(int comNumber, const std::string& path) = 0;
};

// Process-wide provider used by the engine's open and by the discovery.
// Null (the default) means: no entries. The pointer is not owned.
void SetDeviceEntries(IDeviceEntries* entries);
IDeviceEntries* DeviceEntries();

// A plain in-memory provider, for tests and for tools without settings.
class CMapDeviceEntries : public IDeviceEntries {
public:
    std::map<int, std::string> Entries() const override { return m_entries; }
    void WriteEntry(int comNumber, const std::string& path) override {
        m_entries[comNumber] = path;
    }

private:
    std::map<int, std::string> m_entries;
};
