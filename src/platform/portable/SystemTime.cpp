// Clock records and points in time.
#include "platform/SystemTime.h"

namespace tk {

using namespace std::chrono;

ClockInstant InstantOf(const SYSTEMTIME& t) {
    const sys_days date{year{t.wYear} / month{t.wMonth} / day{t.wDay}};
    return date + hours{t.wHour} + minutes{t.wMinute} + seconds{t.wSecond} +
           milliseconds{t.wMilliseconds};
}

SYSTEMTIME SystemTimeAt(ClockInstant instant) {
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

} // namespace tk
