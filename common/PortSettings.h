#pragma once

#include <QString>

#include <cstdint>

// The link stored under "Port", as the interface dialog wrote it; the window
// and orvanectl open the reader by it.
struct CPortSettings {
    // The reply time-outs the interface dialog accepts. A hand-edited value
    // outside them would make the reply wait end at once or never.
    static constexpr int kMinTimeoutMs = 10;
    static constexpr int kMaxTimeoutMs = 300000;

    QString name;  // as stored: "COM3", "USB: A1B2C3", or empty
    unsigned baudRate = 19200;
    uint32_t timeoutMs = 500;  // held to the accepted range

    static CPortSettings Load();
    static uint32_t HeldTimeout(int timeoutMs);
};
