#pragma once

#include <string>
#include <vector>

#include "tools/emulator/EmulatorTypes.h"

// The options of the orvane-emulator program.
class CEmulatorCommandLine {
public:
    // Reads the arguments after the program name; false with Error() set on a bad one.
    bool Parse(const std::vector<std::string>& args);

    static std::string Usage(const std::string& program);

    const EmulatorOptions& Options() const { return m_options; }
    EmulatorFault Fault() const { return m_fault; }
    const std::string& LogPath() const { return m_strLogPath; }  // empty: standard error
    bool HelpWanted() const { return m_bHelp; }
    bool VersionWanted() const { return m_bVersion; }
    const std::string& Error() const { return m_strError; }

private:
    bool Apply(const std::string& name, const std::string& value);
    bool Number(const std::string& name, const std::string& value, unsigned long min,
                unsigned long max, unsigned long& result);

    EmulatorOptions m_options;
    EmulatorFault m_fault = EmulatorFault::None;
    std::string m_strLogPath;
    bool m_bHelp = false;
    bool m_bVersion = false;
    std::string m_strError;
};
