#include "sync/DateCorrection.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct DateCase {
    const char* name;
    std::string reply;
    tk::SYSTEMTIME before; // UTC
    TTimeOfDay server;
    const char* date; // "YYYY-MM-DD"
};

// A failing row is named, not dumped as bytes.
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr tk::SYSTEMTIME Jan20 = {2024, 1, 6, 20, 10, 0, 0, 0};
constexpr TTimeOfDay Ten = {10, 0, 0};

const DateCase dateCases[] = {
    {"NistReply", "\n60384 24-01-15 12:34:56 00 0 0  50.0 UTC(NIST) * \n", Jan20, Ten,
     "2024-01-15"},
    {"YearFirst", "24-01-15 12:34:56", Jan20, Ten, "2024-01-15"},
    {"FourDigitYearKeepsItsLastTwo", "2024-01-15 12:34:56", Jan20, Ten, "2024-01-15"},
    {"DayMonthYearReadAsItComes", "15-01-2024", Jan20, Ten, "2015-01-20"},
    {"OneDigitMonthFallsBack", "24-1-15", Jan20, Ten, "2024-01-20"},
    {"NoDashFallsBack", "Mon Jan 15 12:34:56 2024", Jan20, Ten, "2024-01-20"},
    {"EmptyReplyFallsBack", "", Jan20, Ten, "2024-01-20"},
    {"DashSecondFallsBack", "5-01-15", Jan20, Ten, "2024-01-20"},
    {"DashFirstTakesTheFirstTwoCharacters", "-01-15", Jan20, Ten, "2000-01-15"},
    {"NegativeYearFallsBack", "-24-01-15", Jan20, Ten, "2024-01-20"},
    {"EndingAfterTheMonthFallsBack", "24-01", Jan20, Ten, "2024-01-20"},
    {"OneCharacterDayAtTheEnd", "24-01-5", Jan20, Ten, "2024-01-05"},
    {"LeadingBlankInAField", "24- 1-15", Jan20, Ten, "2024-01-15"},
    {"TrailingBlankInAFieldFallsBack", "24-1 -15", Jan20, Ten, "2024-01-20"},
    {"LeapDay", "24-02-29", Jan20, Ten, "2024-02-29"},
    {"NoLeapDayFallsBack", "23-02-29", Jan20, Ten, "2024-01-20"},
    {"MonthZeroFallsBack", "24-00-10", Jan20, Ten, "2024-01-20"},
    {"MonthThirteenFallsBack", "24-13-01", Jan20, Ten, "2024-01-20"},
    {"DayZeroFallsBack", "24-01-00", Jan20, Ten, "2024-01-20"},
    {"DayPastTheMonthFallsBack", "24-04-31", Jan20, Ten, "2024-01-20"},
    {"CenturyOfThe2075Clock", "75-06-30 08:00:00", {2075, 1, 0, 10, 8, 0, 0, 0}, Ten, "2075-06-30"},
    {"NinetyNineReadIn2000", "99-12-31", {2000, 1, 6, 1, 0, 0, 5, 0}, {0, 0, 5}, "1999-12-31"},
    {"ZeroZeroReadIn2099", "00-01-01", {2099, 12, 4, 31, 23, 59, 55, 0}, {0, 0, 0}, "2100-01-01"},
    {"FallbackTakesTheNearestDay",
     "no date here",
     {2024, 1, 1, 15, 23, 59, 50, 0},
     {0, 0, 5},
     "2024-01-16"},
    {"FallbackBackwards", "no date here", {2024, 1, 2, 16, 0, 0, 5, 0}, {23, 59, 50}, "2024-01-15"},
    {"FallbackStaysOnTheClocksFirstDay",
     "no date here",
     {1601, 1, 1, 1, 0, 10, 0, 0},
     {23, 50, 0},
     "1601-01-01"},
    {"FallbackStaysOnTheClocksLastDay",
     "no date here",
     {30827, 12, 5, 31, 23, 30, 0, 0},
     {0, 30, 0},
     "30827-12-31"},
};

class DateFromDayTimeTest : public testing::TestWithParam<DateCase> {};

TEST_P(DateFromDayTimeTest, DateGiven) {
    const DateCase& c = GetParam();
    std::uint16_t year = 0, month = 0, day = 0;
    DateFromDayTime(c.reply, c.before, c.server, year, month, day);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, day);
    EXPECT_EQ(std::string(text), c.date);
}

INSTANTIATE_TEST_SUITE_P(Replies, DateFromDayTimeTest, testing::ValuesIn(dateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateFromDayTimeTest, ANulByteIsAnOrdinaryCharacter) {
    std::uint16_t year = 0, month = 0, day = 0;
    DateFromDayTime(std::string("\0 24-01-15", 10), Jan20, Ten, year, month, day);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20240115);
}

} // namespace
