#pragma once

#include <string>

// The judgements the Orvane program applies to the reader's replies, written out here so that
// the emulator's answers can be held against them without the protocol library.
namespace checks {

std::string StripLineEnds(std::string text);
// The reply text: the bytes up to the first zero byte.
std::string Text(const std::string& raw);

bool ClockRead(const std::string& raw);                            // "R"
bool ClockSet(const std::string& raw, const std::string& digits);  // "S" + digits
bool RecordsRead(const std::string& raw);                          // "L"
bool ProgressDone(const std::string& raw);                         // "C", 0xC8
bool ParametersRead(const std::string& raw);                       // "P"
bool IdSet(const std::string& raw, const std::string& id);         // "I" + id
// "M", "F", "U" + digit: prefix is "M:", "F:" or "U:".
bool DigitSet(const std::string& raw, const std::string& prefix, const std::string& digit);
bool TimingSet(const std::string& raw, const std::string& prefix, const std::string& value);
// "D": judged on the first `seen` bytes, as the program stops listening after 20.
bool ResetDone(const std::string& raw, std::size_t seen = 20);
bool KeysRead(const std::string& raw, std::string& keys);  // "K"
bool KeysWritten(const std::string& raw);                  // "W..." (judged on 4 bytes)

}  // namespace checks
