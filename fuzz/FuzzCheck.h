#pragma once

// Stops the run with a crash report when a property of the code under test fails.
inline void FuzzCheck(bool property) {
    if (!property) {
        __builtin_trap();
    }
}
