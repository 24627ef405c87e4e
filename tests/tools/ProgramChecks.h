#pragma once

#include <string>

// The Orvane program's own judgements of the reader's replies, taken on raw
// reply text, so that the emulator's answers are held against exactly them.
namespace checks {

bool ClockRead(const std::string& raw);                            // "R"
bool ClockSet(const std::string& raw, const std::string& digits);  // "S" + digits
bool RecordsRead(const std::string& raw);                          // "L"
bool ProgressDone(const std::string& raw);                         // "C", 0xC8
bool ParametersRead(const std::string& raw);                       // "P"
bool IdSet(const std::string& raw, const std::string& id);         // "I" + id
// "M", "F", "U" + digit: prefix is "M:", "F:" or "U:".
bool DigitSet(const std::string& raw, const std::string& prefix, const std::string& digit);
bool TimingSet(const std::string& raw, const std::string& prefix, const std::string& value);
// "D" and "W...": judged on the bytes there when the program's wait ends,
// which it does as soon as 20 (4) bytes are in.
bool ResetDone(const std::string& raw);
bool KeysRead(const std::string& raw, std::string& keys);  // "K"
bool KeysWritten(const std::string& raw);

}  // namespace checks
