#pragma once

#include <optional>
#include <string>

// The reader's settings as its parameter report states them: the extended
// model sends "V:003 Z:005 H:010 ID:01 M:0 F:0 U:0", the basic model the
// same without the three timings. A value is known only where the report
// holds it in its form (a letter, a colon and its digits, not inside another
// word); the dialogs open at the known values and at their first choice for
// the others.
struct CReaderSettings {
    // The timings a reset gives the reader, in seconds.
    static constexpr int kFactoryDelay = 3;
    static constexpr int kFactoryOpening = 5;
    static constexpr int kFactoryHold = 10;

    std::optional<std::string> id;    // "ID:" and two digits
    std::optional<int> mode;          // "M:" and one digit
    std::optional<int> numberFormat;  // "F:" and one digit: 0 hexadecimal, 1 decimal
    std::optional<int> timeFormat;    // "U:" and one digit: 0 with tenths, 1 without
    std::optional<int> delay;         // "V:" and three digits, seconds
    std::optional<int> opening;       // "Z:" and three digits, seconds
    std::optional<int> hold;          // "H:" and three digits, seconds

    static CReaderSettings FromReport(const std::string& report);
    // A confirmed reset: the factory timings; the rest stays as it was.
    void ApplyReset();
    // A confirmed timing value: letter V, Z or H.
    void SetTiming(char letter, int seconds);
};
