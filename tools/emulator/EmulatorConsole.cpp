#include "tools/emulator/EmulatorConsole.h"

#include <sstream>

#include "tools/emulator/ReaderEmulator.h"

std::string CEmulatorConsole::Help() {
    return "commands: badge KEY | fault NAME | hangup | status | help\n"
           "faults: none, no-answer, pause, wrong-echo, missing-end, garbage, hang-up";
}

std::string CEmulatorConsole::Status() const {
    std::ostringstream text;
    text << "port " << m_emulator.PortPath()
         << (m_emulator.Options().model == ReaderModel::Extended ? ", extended" : ", basic")
         << " model, " << m_emulator.RecordCount() << " records, " << m_emulator.Keys().size()
         << " keys, Teach IN " << (m_emulator.TeachIn() ? "on" : "off") << ", fault "
         << FaultName(m_emulator.Fault()) << ", " << m_emulator.Requests().size() << " requests"
         << (m_emulator.HungUp() ? ", line closed" : "");
    return text.str();
}

std::string CEmulatorConsole::Execute(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    std::string argument;
    std::string extra;
    words >> command >> argument >> extra;
    if (command.empty()) {
        return "";
    }
    if (!extra.empty()) {
        return "too many words: " + line;
    }
    if (command == "badge") {
        if (!m_emulator.PresentBadge(argument)) {
            return "invalid key number \"" + argument + "\" (1 to 8 hexadecimal digits)";
        }
        return "badge " + argument + " presented";
    }
    if (command == "fault") {
        EmulatorFault fault = EmulatorFault::None;
        if (!ParseFaultName(argument, fault)) {
            return "unknown fault \"" + argument + "\"\n" + Help();
        }
        m_emulator.SetFault(fault);
        return std::string("fault ") + FaultName(fault);
    }
    if (!argument.empty()) {
        return "unexpected argument: " + line;
    }
    if (command == "hangup") {
        m_emulator.HangUp();
        return "line closed";
    }
    if (command == "status") {
        return Status();
    }
    if (command == "help") {
        return Help();
    }
    return "unknown command \"" + command + "\"\n" + Help();
}
