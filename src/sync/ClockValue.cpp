// Clock values near a reading.
#include "sync/ClockValue.h"

using namespace std::chrono;
using tk::SYSTEMTIME;

SYSTEMTIME NearestWithTimeOfDay(const SYSTEMTIME& before, std::uint16_t hour, std::uint16_t minute,
                                std::uint16_t second) {
    const auto reading = tk::InstantOf(before);
    const auto timeOfDay = hours{hour} + minutes{minute} + seconds{second};
    auto best = floor<days>(reading) + timeOfDay;
    for (const auto candidate : {best - days{1}, best + days{1}}) {
        if (abs(candidate - reading) < abs(best - reading))
            best = candidate;
    }
    return tk::SystemTimeAt(best);
}

std::uint16_t DayOfWeek(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    return static_cast<std::uint16_t>(weekday{sys_days{year{y} / month{m} / day{d}}}.c_encoding());
}
