#include "tools/emulator/EmulatorTypes.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<EmulatorFault, const char*>, 7> kFaultNames{{
    {EmulatorFault::None, "none"},
    {EmulatorFault::NoAnswer, "no-answer"},
    {EmulatorFault::PauseMidReply, "pause"},
    {EmulatorFault::WrongEcho, "wrong-echo"},
    {EmulatorFault::MissingEnd, "missing-end"},
    {EmulatorFault::Garbage, "garbage"},
    {EmulatorFault::HangUp, "hang-up"},
}};

}  // namespace

const char* FaultName(EmulatorFault fault) {
    for (const auto& [value, name] : kFaultNames) {
        if (value == fault) {
            return name;
        }
    }
    return "none";
}

bool ParseFaultName(const std::string& name, EmulatorFault& fault) {
    for (const auto& [value, text] : kFaultNames) {
        if (name == text) {
            fault = value;
            return true;
        }
    }
    return false;
}
