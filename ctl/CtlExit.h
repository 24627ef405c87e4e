#pragma once

// orvanectl's exit statuses, as --help and the man page list them.
enum class CtlExit : int {
    Done = 0,
    Usage = 2,        // wrong command line or a value the dialogs would refuse
    NoLink = 3,       // the link did not open; the reason is on standard error
    Reader = 4,       // the reader did not answer, or refused
    File = 5,         // a file could not be written (or another collect holds the folder)
    Interrupted = 6,  // SIGTERM, SIGINT or SIGHUP ended a request; nothing was cleared
};
