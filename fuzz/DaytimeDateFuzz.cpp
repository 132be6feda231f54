// The date taken from any Daytime reply. The input is twelve bytes of clock reading and server
// time of day, then the reply. The date is always one the clock accepts; it is the reply's own
// YY-MM-DD exactly when those fields make such a date, else the reading's date moved to the
// day nearest the server's time of day.
#include "support/Check.h"
#include "support/Reference.h"
#include "sync/DateCorrection.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

using namespace std::chrono;

constexpr int FirstClockYear = 1601;
constexpr int LastClockYear = 30827;
constexpr std::size_t HeaderBytes = 12;

struct Ymd {
    int year, month, day;
    bool operator==(const Ymd&) const = default;
};

bool Valid(const Ymd& d) {
    return d.year >= FirstClockYear && d.year <= LastClockYear && d.month >= 1 && d.month <= 12 &&
           d.day >= 1 && d.day <= fuzzref::DaysInMonth(d.year, d.month);
}

// Two characters from 1-based position `start`, as the reply's fields are cut: a start before
// the text counts from its first character.
std::string TwoFrom(const std::string& text, long start) {
    const std::size_t index = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    return index >= text.size() ? std::string() : text.substr(index, 2);
}

std::optional<Ymd> ReplyDate(const std::string& reply, int readingYear) {
    const std::size_t dash = reply.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    const long at = static_cast<long>(dash) + 1;
    const auto yy = fuzzref::Value(TwoFrom(reply, at - 2));
    const auto mm = fuzzref::Value(TwoFrom(reply, at + 1));
    const auto dd = fuzzref::Value(TwoFrom(reply, at + 4));
    if (!yy || !mm || !dd || *yy < 0 || *yy > 99)
        return std::nullopt;
    // The century that puts the year within fifty years of the reading's, the later on a tie.
    std::optional<int> year;
    for (const int century : {-100, 0, 100}) {
        const int candidate = readingYear / 100 * 100 + century + *yy;
        if (candidate > readingYear - 50 && candidate <= readingYear + 50)
            year = candidate;
    }
    FUZZ_CHECK(year.has_value());
    const Ymd date{*year, *mm, *dd};
    if (*mm < 1 || *mm > 12 || !Valid(date))
        return std::nullopt;
    return date;
}

// The reading's date, the day before or the day after: whichever, at the server's time of day,
// lies nearest the reading (the reading's own day on a tie), if the clock accepts that day.
Ymd NearestDay(const tk::SYSTEMTIME& reading, const TTimeOfDay& server) {
    const sys_days readingDay =
        year_month_day{year{reading.wYear}, month{reading.wMonth}, day{reading.wDay}};
    const milliseconds at = hours{reading.wHour} + minutes{reading.wMinute} +
                            seconds{reading.wSecond} + milliseconds{reading.wMilliseconds};
    const milliseconds wanted =
        hours{server.Hour} + minutes{server.Minute} + seconds{server.Second};
    int shift = 0;
    if (at - wanted > hours{12})
        shift = 1;
    else if (wanted - at > hours{12})
        shift = -1;
    year_month_day result{readingDay + days{shift}};
    if (static_cast<int>(result.year()) < FirstClockYear ||
        static_cast<int>(result.year()) > LastClockYear)
        result = year_month_day{readingDay};
    return Ymd{static_cast<int>(result.year()),
               static_cast<int>(static_cast<unsigned>(result.month())),
               static_cast<int>(static_cast<unsigned>(result.day()))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < HeaderBytes)
        return 0;
    const auto word = [&](std::size_t i) { return data[i] << 8 | data[i + 1]; };
    tk::SYSTEMTIME reading{};
    reading.wYear =
        static_cast<std::uint16_t>(FirstClockYear + word(0) % (LastClockYear - FirstClockYear + 1));
    reading.wMonth = static_cast<std::uint16_t>(data[2] % 12 + 1);
    reading.wDay = static_cast<std::uint16_t>(
        data[3] % fuzzref::DaysInMonth(reading.wYear, reading.wMonth) + 1);
    reading.wHour = static_cast<std::uint16_t>(data[4] % 24);
    reading.wMinute = static_cast<std::uint16_t>(data[5] % 60);
    reading.wSecond = static_cast<std::uint16_t>(data[6] % 60);
    reading.wMilliseconds = static_cast<std::uint16_t>(word(7) % 1000);
    const TTimeOfDay server{static_cast<std::uint16_t>(data[9] % 24),
                            static_cast<std::uint16_t>(data[10] % 60),
                            static_cast<std::uint16_t>(data[11] % 60)};
    const std::string reply(reinterpret_cast<const char*>(data) + HeaderBytes, size - HeaderBytes);

    std::uint16_t y = 0, m = 0, d = 0;
    DateFromDayTime(reply, reading, server, y, m, d);
    const Ymd got{y, m, d};
    FUZZ_CHECK(Valid(got));

    std::uint16_t fy = 0, fm = 0, fd = 0;
    ClockDateFallback(reading, server, fy, fm, fd);
    const Ymd fallback{fy, fm, fd};
    FUZZ_CHECK(Valid(fallback));

    if (const auto own = ReplyDate(reply, reading.wYear)) {
        FUZZ_CHECK(got == *own);
    } else {
        FUZZ_CHECK(got == fallback);
        FUZZ_CHECK(got == NearestDay(reading, server));
    }
    return 0;
}
