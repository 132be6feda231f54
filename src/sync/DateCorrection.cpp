// The date in a Daytime reply.
#include "sync/DateCorrection.h"

#include "platform/SysUtils.h"
#include "sync/ClockValue.h"

#include <chrono>
#include <optional>

namespace {

// The clock accepts years 1601 to 30827.
constexpr int FirstClockYear = 1601;
constexpr int LastClockYear = 30827;

// Two characters from 1-based position `start`: one before the text starts at its first
// character; one reaching past the end is shortened, or empty.
std::string Field(const std::string& text, long start) {
    if (start < 1)
        start = 1;
    if (static_cast<std::size_t>(start) > text.size())
        return {};
    return text.substr(static_cast<std::size_t>(start - 1), 2);
}

// The year within fifty years of `reference` whose last two digits are `twoDigits`.
int NearestYear(int twoDigits, int reference) {
    int year = reference / 100 * 100 + twoDigits;
    if (year <= reference - 50)
        year += 100;
    else if (year > reference + 50)
        year -= 100;
    return year;
}

struct Date {
    std::uint16_t year, month, day;
};

std::optional<Date> DateIn(const std::string& reply, int referenceYear) {
    const std::size_t dash = reply.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    const long p = static_cast<long>(dash) + 1;
    std::int32_t yy, mm, dd;
    if (!tk::TryStrToInt(Field(reply, p - 2), yy) || !tk::TryStrToInt(Field(reply, p + 1), mm) ||
        !tk::TryStrToInt(Field(reply, p + 4), dd))
        return std::nullopt;
    if (yy < 0 || yy > 99 || mm < 1 || mm > 12 || dd < 1 || dd > 31)
        return std::nullopt;
    const int year = NearestYear(yy, referenceYear);
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(mm)},
                                           std::chrono::day{static_cast<unsigned>(dd)}};
    if (!date.ok() || year < FirstClockYear || year > LastClockYear)
        return std::nullopt;
    return Date{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(mm),
                static_cast<std::uint16_t>(dd)};
}

} // namespace

void ClockDateFallback(const tk::SYSTEMTIME& Before, const TTimeOfDay& serverTime,
                       std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day) {
    const tk::SYSTEMTIME nearest =
        NearestWithTimeOfDay(Before, serverTime.Hour, serverTime.Minute, serverTime.Second);
    // On the clock's first or last day the neighbouring day is one the clock refuses.
    const bool accepted = nearest.wYear >= FirstClockYear && nearest.wYear <= LastClockYear;
    const tk::SYSTEMTIME& date = accepted ? nearest : Before;
    Year = date.wYear;
    Month = date.wMonth;
    Day = date.wDay;
}

void DateFromDayTime(const std::string& DayTimeText, const tk::SYSTEMTIME& Before,
                     const TTimeOfDay& serverTime, std::uint16_t& Year, std::uint16_t& Month,
                     std::uint16_t& Day) {
    if (const auto date = DateIn(DayTimeText, Before.wYear)) {
        Year = date->year;
        Month = date->month;
        Day = date->day;
    } else {
        ClockDateFallback(Before, serverTime, Year, Month, Day);
    }
}
