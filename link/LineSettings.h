#pragma once

#include <cstdint>
#include <string>

// How the engine's DTR and RTS outputs behave.
enum class LineControl { Disable, Enable, Handshake };

// The line settings a port is configured with: speed, framing and flow
// control. Both backends read and apply settings in this form.
struct CLineSettings {
    uint32_t baudRate = 9600;
    char parity = 'N';  // N, E, O, M (mark) or S (space)
    uint8_t dataBits = 8;
    uint8_t stopBits = 1;  // 1 or 2
    bool binary = true;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    LineControl dtrControl = LineControl::Enable;
    LineControl rtsControl = LineControl::Enable;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = true;
    bool outX = false;
    bool inX = false;
    bool nullStrip = false;
    bool abortOnError = false;
    char xonChar = 0x11;
    char xoffChar = 0x13;
};

// Time-outs of reads and writes, in milliseconds. The engine always uses
// "reads return at once with what is buffered, writes have no time-out".
struct CPortTimeouts {
    uint32_t readInterval = 0xFFFFFFFFu;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
};

// Overlays speed, parity, data and stop bits from a line definition such as
// "baud=19200 parity=N data=8 stop=1". Keys may come in any order and any
// letter case; keys not given keep their value. False (settings unchanged)
// for an unknown key or a value out of range.
bool BuildLineSettings(const std::string& definition, CLineSettings& settings);

// The line definition text the engine formats from its Open arguments.
std::string FormatLineDefinition(unsigned baudRate, char parity, unsigned dataBits,
                                 unsigned stopBits);
