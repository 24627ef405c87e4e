#include "tools/emulator/ReaderClock.h"

#include <time.h>

#include <cstdio>

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch2000 = sys_days{year{2000} / January / 1};
constexpr std::int64_t kMsPerDay = 86'400'000;

int TwoDigits(const std::string& text, std::size_t pos) {
    const char hi = text[pos];
    const char lo = text[pos + 1];
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9') {
        return -1;
    }
    return (hi - '0') * 10 + (lo - '0');
}

}  // namespace

CReaderClock::CReaderClock(NowFunction now) : m_fnNow(std::move(now)) {
    if (!m_fnNow) {
        m_fnNow = [] { return system_clock::now(); };
    }
}

std::int64_t CReaderClock::HostMilliseconds() const {
    const system_clock::time_point now = m_fnNow();
    const time_t seconds = system_clock::to_time_t(now);
    tm local{};
    localtime_r(&seconds, &local);
    ReaderTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.millisecond =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    if (t.millisecond < 0) {
        t.millisecond += 1000;
    }
    return ToMilliseconds(t);
}

ReaderTime CReaderClock::Now() const {
    return FromMilliseconds(HostMilliseconds() + m_offsetMs);
}

bool CReaderClock::Set(const std::string& digits) {
    if (digits.size() != 12) {
        return false;
    }
    int fields[6];
    for (int i = 0; i < 6; ++i) {
        fields[i] = TwoDigits(digits, static_cast<std::size_t>(i) * 2);
        if (fields[i] < 0) {
            return false;
        }
    }
    const year_month_day date{year{2000 + fields[2]}, month(static_cast<unsigned>(fields[1])),
                              day(static_cast<unsigned>(fields[0]))};
    if (!date.ok() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) {
        return false;
    }
    const ReaderTime wanted{2000 + fields[2], fields[1], fields[0], fields[3],
                            fields[4],        fields[5], 0};
    m_offsetMs = ToMilliseconds(wanted) - HostMilliseconds();
    return true;
}

std::string CReaderClock::Format(const ReaderTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d %02d:%02d:%02d", time.day, time.month,
                  time.year % 100, time.hour, time.minute, time.second);
    return text;
}

std::int64_t CReaderClock::ToMilliseconds(const ReaderTime& time) {
    const sys_days date = year{time.year} / month(static_cast<unsigned>(time.month)) /
                          day(static_cast<unsigned>(time.day));
    const std::int64_t days = (date - kEpoch2000).count();
    return days * kMsPerDay +
           ((time.hour * 60 + time.minute) * 60 + time.second) * std::int64_t{1000} +
           time.millisecond;
}

ReaderTime CReaderClock::FromMilliseconds(std::int64_t ms) {
    // The reader's calendar wraps within its two-digit years.
    constexpr std::int64_t kCentury = (sys_days{year{2100} / January / 1} - kEpoch2000).count();
    ms %= kCentury * kMsPerDay;
    if (ms < 0) {
        ms += kCentury * kMsPerDay;
    }
    const year_month_day date{kEpoch2000 + days{ms / kMsPerDay}};
    std::int64_t rest = ms % kMsPerDay;
    ReaderTime t;
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    t.second = static_cast<int>(rest % 60);
    rest /= 60;
    t.minute = static_cast<int>(rest % 60);
    t.hour = static_cast<int>(rest / 60);
    return t;
}
