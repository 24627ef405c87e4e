#pragma once

#include <string>

class CReaderEmulator;

// The technician's commands on the emulator program's standard input ("badge 0012AB34",
// "fault pause", "hangup", "status", "help").
class CEmulatorConsole {
public:
    explicit CEmulatorConsole(CReaderEmulator& emulator) : m_emulator(emulator) {}

    // Runs one command line; returns the answer to show (empty for an empty line).
    std::string Execute(const std::string& line);

    static std::string Help();

private:
    std::string Status() const;

    CReaderEmulator& m_emulator;
};
