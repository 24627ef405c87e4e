#pragma once

#include <chrono>

#include "tools/emulator/EmulatorTypes.h"

// Turns a sound reply into the faulty one that `fault` stands for (see EmulatorFault).
// HangUp is not a reply fault: the emulator handles it and the reply comes back unchanged.
Reply ApplyFault(EmulatorFault fault, Reply reply, std::chrono::microseconds pause);
