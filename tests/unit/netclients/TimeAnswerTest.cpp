// The Time protocol's four bytes: decoding, the time of day in both kinds of long time format,
// the raw count, and the 2036 wrap.
#include "netclients/TimeAnswer.h"
#include "netclients/Query.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace std::chrono;
using namespace netclients;

// The count a server sends for a UTC instant: seconds since 1900, modulo 2^32.
std::uint32_t CountAt(sys_seconds utc) {
    auto since1900 =
        static_cast<std::uint64_t>(utc.time_since_epoch().count()) + SecondsFrom1900To1970;
    return static_cast<std::uint32_t>(since1900 % CountWrap);
}

sys_seconds Utc(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    return sys_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s};
}

const tk::TFormatSettings TwentyFourHours{"dd/MM/yyyy", "HH:mm:ss", "AM", "PM"};
const tk::TFormatSettings TwelveHours{"M/d/yyyy", "h:mm:ss tt", "AM", "PM"};

struct AnswerCase {
    const char* name;
    std::string bytes;
    const char* clock24;
    const char* clock12;
    std::int32_t timeInt;
};
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Hex(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

const AnswerCase answerCases[] = {
    {"June2024Afternoon", Hex(0xEA0593F0), "12:34:56", "12:34:56 PM", -368733200},
    {"Year2000Midnight", Hex(0xBC17C200), "00:00:00", "12:00:00 AM", -1139293696},
    {"FirstNegativeCount1968", Hex(0x80000000), "03:14:08", "3:14:08 AM", -2147483647 - 1},
    {"LastCountBeforeWrap", Hex(0xFFFFFFFF), "06:28:15", "6:28:15 AM", -1},
    {"WrapItself", Hex(0x00000000), "06:28:16", "6:28:16 AM", 0},
    {"HourAfterWrap", Hex(3600), "07:28:16", "7:28:16 AM", 3600},
    {"LastCountReadAfterWrap", Hex(0x7FFFFFFF), "09:42:23", "9:42:23 AM", 2147483647},
};

class TimeAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(TimeAnswers, TimeOfDayAndRawCount) {
    const AnswerCase& c = GetParam();
    std::uint32_t count = DecodeTimeAnswer(c.bytes);
    EXPECT_EQ(tk::TimeToStr(TimeOfDayValue(count), TwentyFourHours), c.clock24);
    EXPECT_EQ(tk::TimeToStr(TimeOfDayValue(count), TwelveHours), c.clock12);
    EXPECT_EQ(TimeIntValue(count), c.timeInt);
}

INSTANTIATE_TEST_SUITE_P(Bytes, TimeAnswers, testing::ValuesIn(answerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeAnswer, BytesAreBigEndian) {
    EXPECT_EQ(DecodeTimeAnswer(std::string("\x01\x02\x03\x04", 4)), 0x01020304u);
    EXPECT_EQ(DecodeTimeAnswer(Hex(0xEA0593F0)), CountAt(Utc(2024, 6, 1, 12, 34, 56)));
    EXPECT_EQ(DecodeTimeAnswer(Hex(0xBC17C200)), CountAt(Utc(2000, 1, 1, 0, 0, 0)));
}

TEST(TimeAnswer, EpochConstants) {
    EXPECT_EQ(CountAt(Utc(1970, 1, 1, 0, 0, 0)), SecondsFrom1900To1970);
    EXPECT_EQ(CountAt(Utc(2036, 2, 7, 6, 28, 16)), 0u);
    EXPECT_EQ(CountAt(Utc(1968, 1, 20, 3, 14, 8)), EarliestUnwrappedCount);
}

// After the wrap the time of day stays right: every instant of the decades around it gives
// its own UTC time of day.
TEST(TimeAnswer, TimeOfDayIsRightAcrossTheWrap) {
    const sys_seconds instants[] = {Utc(2024, 6, 1, 12, 34, 56), Utc(2036, 2, 7, 6, 28, 15),
                                    Utc(2036, 2, 7, 6, 28, 16),  Utc(2036, 2, 7, 23, 59, 59),
                                    Utc(2036, 2, 8, 0, 0, 1),    Utc(2050, 12, 31, 18, 5, 9),
                                    Utc(2104, 2, 26, 9, 42, 23)};
    for (sys_seconds t : instants) {
        auto dayTime = hh_mm_ss{t - floor<days>(t)};
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d:%02d:%02d",
                      static_cast<int>(dayTime.hours().count()),
                      static_cast<int>(dayTime.minutes().count()),
                      static_cast<int>(dayTime.seconds().count()));
        EXPECT_EQ(tk::TimeToStr(TimeOfDayValue(CountAt(t)), TwentyFourHours), expected)
            << "count " << CountAt(t);
    }
}

TEST(TimeAnswer, OtherLengthsAreRefused) {
    for (std::string bytes : {std::string(), std::string("\x00\x3C", 2), std::string(5, '\x01')}) {
        try {
            DecodeTimeAnswer(bytes);
            ADD_FAILURE() << bytes.size() << " bytes accepted";
        } catch (const tk::Exception& e) {
            EXPECT_EQ(e.Message, BadAnswerText);
        }
    }
}

} // namespace
