#pragma once

// Test-only functions of the stand-in libftd2xx.so, looked up with dlsym
// (dlopen the same file the binding loads, so both see one state). Until a
// test adds adapters, the stand-in reports none.

#include <cstddef>
#include <cstdint>

extern "C" {
// Forgets every adapter, the call log and injected line states.
typedef void (*PFN_FakeFtd2xx_Reset)();
// An adapter served on the given pseudo-terminal; openElsewhere: another
// program holds it (its list node carries a handle).
typedef void (*PFN_FakeFtd2xx_AddAdapter)(const char* serial, const char* description,
                                          const char* portPath, int openElsewhere);
// Copies the call log (one line per call) into buffer; returns its full length.
typedef size_t (*PFN_FakeFtd2xx_Log)(char* buffer, size_t size);
// Error bits reported once by the next error query; modem lines from now on.
typedef void (*PFN_FakeFtd2xx_SetLineState)(uint32_t errors, uint32_t modemLines);
}
