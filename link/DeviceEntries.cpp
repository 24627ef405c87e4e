#include "link/DeviceEntries.h"

#include <atomic>

namespace {
std::atomic<IDeviceEntries*> g_deviceEntries{nullptr};
}

void SetDeviceEntries(IDeviceEntries* entries) {
    g_deviceEntries.store(entries);
}

IDeviceEntries* DeviceEntries() {
    return g_deviceEntries.load();
}
