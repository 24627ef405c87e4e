#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// A calendar time as the reader keeps it: no time zone, years 2000 to 2099.
struct ReaderTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The reader's own clock: it runs with the host's local time plus an offset that "S" sets.
class CReaderClock {
public:
    using NowFunction = std::function<std::chrono::system_clock::time_point()>;

    // `now` replaces the host clock (tests); empty means std::chrono::system_clock::now.
    explicit CReaderClock(NowFunction now = {});

    ReaderTime Now() const;

    // Sets the clock from "ddmmyyHHMMSS"; refuses anything that is not a valid time.
    bool Set(const std::string& digits);

    // "dd.mm.yy HH:MM:SS"
    static std::string Format(const ReaderTime& time);

    // Milliseconds since 2000-01-01 00:00:00 and back; used to step through time.
    static std::int64_t ToMilliseconds(const ReaderTime& time);
    static ReaderTime FromMilliseconds(std::int64_t ms);

private:
    // The host's local wall time in milliseconds since 2000-01-01 00:00:00.
    std::int64_t HostMilliseconds() const;

    NowFunction m_fnNow;
    std::int64_t m_offsetMs = 0;
};
