// Taking the date out of a Daytime reply, for runs that also correct the date.
#pragma once

#include "platform/SystemTime.h"

#include <cstdint>
#include <string>

struct TTimeOfDay {
    std::uint16_t Hour = 0;
    std::uint16_t Minute = 0;
    std::uint16_t Second = 0;
};

// The date the clock reading gives: Before's UTC date, moved one day back or forward when that
// brings the server's time of day nearer to Before and the clock accepts that day (years 1601
// to 30827).
void ClockDateFallback(const tk::SYSTEMTIME& Before, const TTimeOfDay& serverTime,
                       std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day);

// The date of a reply laid out as YY-MM-DD at its first "-" (the year completed with the
// century nearest to Before's year). A reply without such a date, or with one that does not
// exist, gives ClockDateFallback.
void DateFromDayTime(const std::string& DayTimeText, const tk::SYSTEMTIME& Before,
                     const TTimeOfDay& serverTime, std::uint16_t& Year, std::uint16_t& Month,
                     std::uint16_t& Day);
