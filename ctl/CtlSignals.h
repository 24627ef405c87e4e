#pragma once

// SIGTERM, SIGINT and SIGHUP as orvanectl takes them: blocked in every
// thread and read from a signal descriptor by the reply waits, so that no
// work runs in a handler and a signal ends the program only where it can
// stop cleanly (nothing cleared, no temporary file left).
class CCtlSignals {
public:
    // Blocks the signals; before any thread starts, so that every thread
    // inherits the mask. False when the descriptor cannot be made (the
    // signals then keep their default action).
    static bool Install();
    // The first of the signals that arrived, 0 while none has; any thread.
    static int Caught();
    // "SIGTERM", "SIGINT" or "SIGHUP".
    static const char* Name(int signal);
};
