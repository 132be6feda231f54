// Clock values near a reading.
#include "sync/ClockValue.h"

#include <chrono>

using namespace std::chrono;
using tk::SYSTEMTIME;

namespace {

sys_days DateOf(const SYSTEMTIME& t) {
    return sys_days{year{t.wYear} / month{t.wMonth} / day{t.wDay}};
}

sys_time<milliseconds> InstantOf(const SYSTEMTIME& t) {
    return DateOf(t) + hours{t.wHour} + minutes{t.wMinute} + seconds{t.wSecond} +
           milliseconds{t.wMilliseconds};
}

SYSTEMTIME ToSystemTime(sys_time<milliseconds> instant) {
    const sys_days date = floor<days>(instant);
    const year_month_day ymd{date};
    const hh_mm_ss tod{instant - date};
    return {static_cast<std::uint16_t>(static_cast<int>(ymd.year())),
            static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month())),
            static_cast<std::uint16_t>(weekday{date}.c_encoding()),
            static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day())),
            static_cast<std::uint16_t>(tod.hours().count()),
            static_cast<std::uint16_t>(tod.minutes().count()),
            static_cast<std::uint16_t>(tod.seconds().count()),
            static_cast<std::uint16_t>(tod.subseconds().count())};
}

} // namespace

SYSTEMTIME NearestWithTimeOfDay(const SYSTEMTIME& before, std::uint16_t hour,
                                std::uint16_t minute, std::uint16_t second) {
    const auto reading = InstantOf(before);
    const auto timeOfDay = hours{hour} + minutes{minute} + seconds{second};
    auto best = DateOf(before) + timeOfDay;
    for (const auto candidate : {best - days{1}, best + days{1}}) {
        if (abs(candidate - reading) < abs(best - reading))
            best = candidate;
    }
    return ToSystemTime(best);
}

std::uint16_t DayOfWeek(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    return static_cast<std::uint16_t>(weekday{sys_days{year{y} / month{m} / day{d}}}.c_encoding());
}
