#include "common/PortSettings.h"

#include <algorithm>

#include "common/SettingsStore.h"

CPortSettings CPortSettings::Load() {
    const QString section = QStringLiteral("Port");
    CPortSettings port;
    port.name = CSettingsStore::GetProfileString(section, QStringLiteral("Name"));
    port.baudRate = static_cast<unsigned>(
        CSettingsStore::GetProfileInt(section, QStringLiteral("Baudrate"), 19200));
    port.timeoutMs =
        HeldTimeout(CSettingsStore::GetProfileInt(section, QStringLiteral("Timeout"), 500));
    return port;
}

uint32_t CPortSettings::HeldTimeout(int timeoutMs) {
    return static_cast<uint32_t>(std::clamp(timeoutMs, kMinTimeoutMs, kMaxTimeoutMs));
}
