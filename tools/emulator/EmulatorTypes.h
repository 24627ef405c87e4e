#pragma once

#include <chrono>
#include <string>
#include <vector>

// The two reader models: the extended one reports its timing values ("V:", "Z:", "H:") in the
// parameter report, the basic one does not.
enum class ReaderModel { Basic, Extended };

// Faults the emulator produces on demand, for every request that follows until changed.
enum class EmulatorFault {
    None,
    NoAnswer,       // the request is taken but nothing is sent back
    PauseMidReply,  // the reply stops half-way for faultPause, then goes on
    WrongEcho,      // the last digit (or letter) of the reply is changed
    MissingEnd,     // the reply's last line ("END\r\n", "OK\r\n", "X", ...) is left out
    Garbage,        // the reply is replaced by meaningless bytes of the same length
    HangUp          // the emulator closes its side of the line instead of answering
};

// One piece of output: sent after `delay` has passed since the previous piece left. Durations in
// milliseconds convert implicitly: ReplyChunk{std::chrono::milliseconds(300), "OK\r\n"}.
struct ReplyChunk {
    std::chrono::microseconds delay{0};
    std::string bytes;
};

using Reply = std::vector<ReplyChunk>;

struct EmulatorOptions {
    ReaderModel model = ReaderModel::Basic;
    unsigned baudRate = 0;     // 0: as fast as possible; else paced like the line (10 bits/byte)
    unsigned seedRecords = 0;  // records in the store at start
    std::chrono::microseconds progressInterval{2000};  // pause between progress bytes of C, 0xC8
    std::chrono::milliseconds resetDelay{1000};        // "D" answers after this delay
    std::chrono::milliseconds faultPause{1500};        // pause of PauseMidReply
    std::string linkPath;                              // optional symbolic link to the port side
    std::chrono::milliseconds requestTimeout{200};     // an incomplete request is dropped after
                                                       // this much silence
};

// Name used on the command line and in logs ("none", "no-answer", ...), and back.
const char* FaultName(EmulatorFault fault);
bool ParseFaultName(const std::string& name, EmulatorFault& fault);
