// TDateTime encoding and decoding, and the texts of dates and times in locale pictures.
#include "platform/DateTime.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tk {
namespace {

constexpr double kMSecsPerDay = 86'400'000.0;

struct DateCase {
    const char* name;
    std::uint16_t year, month, day;
    std::optional<double> value; // none: the date does not exist
};

class EncodeDateTable : public testing::TestWithParam<DateCase> {};

TEST_P(EncodeDateTable, EncodesOrRefuses) {
    const DateCase& c = GetParam();
    TDateTime value = -12345;
    ASSERT_EQ(TryEncodeDate(c.year, c.month, c.day, value), c.value.has_value()) << value;
    if (!c.value) {
        EXPECT_EQ(value, -12345) << "a refused date leaves the output alone";
        try {
            EncodeDate(c.year, c.month, c.day);
            FAIL() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Argument incorrect pour l'encodage de date");
        }
        return;
    }
    EXPECT_EQ(value, *c.value);
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), *c.value);
    std::uint16_t y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncodeDateTable,
    testing::Values(
        DateCase{"Epoch", 1899, 12, 30, 0.0}, DateCase{"Year1900", 1900, 1, 1, 2.0},
        DateCase{"DayBeforeEpoch", 1899, 12, 29, -1.0},
        DateCase{"LeapDay2000", 2000, 2, 29, 36585.0}, DateCase{"Year2000", 2000, 1, 1, 36526.0},
        DateCase{"FirstOfJune2024", 2024, 6, 1, 45444.0}, DateCase{"FirstDay", 1, 1, 1, -693593.0},
        DateCase{"LastDay", 9999, 12, 31, 2958465.0},
        DateCase{"NoLeapDay1900", 1900, 2, 29, std::nullopt},
        DateCase{"NoLeapDay2023", 2023, 2, 29, std::nullopt},
        DateCase{"Month0", 2024, 0, 1, std::nullopt},
        DateCase{"Month13", 2024, 13, 1, std::nullopt}, DateCase{"Day0", 2024, 1, 0, std::nullopt},
        DateCase{"Day32", 2024, 1, 32, std::nullopt},
        DateCase{"April31", 2024, 4, 31, std::nullopt}, DateCase{"Year0", 0, 1, 1, std::nullopt},
        DateCase{"Year10000", 10000, 1, 1, std::nullopt}),
    [](const testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

TEST(EncodeTime, FractionOfTheDayAndRangeErrors) {
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86'399'999 / kMSecsPerDay);
    const struct {
        const char* name;
        std::uint16_t h, m, s, ms;
    } bad[] = {{"hour 24", 24, 0, 0, 0},
               {"minute 60", 0, 60, 0, 0},
               {"second 60", 0, 0, 60, 0},
               {"millisecond 1000", 0, 0, 0, 1000}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.name);
        try {
            EncodeTime(b.h, b.m, b.s, b.ms);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Argument incorrect pour l'encodage de l'heure");
        }
    }
}

struct Decoded {
    std::uint16_t year, month, day, hour, minute, second, msec;
};

Decoded Decode(TDateTime v) {
    Decoded d{};
    DecodeDate(v, d.year, d.month, d.day);
    DecodeTime(v, d.hour, d.minute, d.second, d.msec);
    return d;
}

TEST(Decode, RoundsToTheNearestMillisecondAndCarries) {
    const double june1 = 45444.0;
    const struct {
        const char* name;
        double value;
        Decoded expected;
    } rows[] = {
        {"exact milliseconds", june1 + 45'296'789 / kMSecsPerDay, {2024, 6, 1, 12, 34, 56, 789}},
        {"0.4 ms rounds down", june1 + 45'296'000.4 / kMSecsPerDay, {2024, 6, 1, 12, 34, 56, 0}},
        {"0.6 ms rounds up", june1 + 45'296'000.6 / kMSecsPerDay, {2024, 6, 1, 12, 34, 56, 1}},
        // Exact ties, at day 0 where the fraction holds them exactly: to the even millisecond.
        {"tie 0.5 ms to even", 0.5 / kMSecsPerDay, {1899, 12, 30, 0, 0, 0, 0}},
        {"tie 1.5 ms to even", 1.5 / kMSecsPerDay, {1899, 12, 30, 0, 0, 0, 2}},
        {"23:59:59.9994 stays", june1 + 86'399'999.4 / kMSecsPerDay, {2024, 6, 1, 23, 59, 59, 999}},
        {"23:59:59.9995 is the next midnight",
         june1 + 86'399'999.5 / kMSecsPerDay,
         {2024, 6, 2, 0, 0, 0, 0}},
        {"year end carries into the new year",
         EncodeDate(2023, 12, 31) + 86'399'999.7 / kMSecsPerDay,
         {2024, 1, 1, 0, 0, 0, 0}},
        {"before the epoch the fraction counts forward", -1.25, {1899, 12, 29, 6, 0, 0, 0}},
        {"before the epoch, carry to the next day",
         -1.0 - 86'399'999.7 / kMSecsPerDay,
         {1899, 12, 30, 0, 0, 0, 0}},
        {"Time protocol value", 3926234096.0 / 86400, {2024, 5, 30, 12, 34, 56, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const Decoded d = Decode(r.value);
        EXPECT_EQ(d.year, r.expected.year);
        EXPECT_EQ(d.month, r.expected.month);
        EXPECT_EQ(d.day, r.expected.day);
        EXPECT_EQ(d.hour, r.expected.hour);
        EXPECT_EQ(d.minute, r.expected.minute);
        EXPECT_EQ(d.second, r.expected.second);
        EXPECT_EQ(d.msec, r.expected.msec);
    }
}

TEST(Decode, ValuesOutsideTheCalendarGiveZeros) {
    for (const double v : {2958466.0, -693594.5, 1e300}) {
        const Decoded d = Decode(v);
        EXPECT_EQ(d.year, 0) << v;
        EXPECT_EQ(d.month, 0) << v;
        EXPECT_EQ(d.day, 0) << v;
    }
}

TEST(SystemTimeToDateTime, DatePlusTimeDayOfWeekIgnored) {
    const SYSTEMTIME st{2024, 6, 9 /* not a weekday */, 1, 12, 34, 56, 789};
    EXPECT_EQ(SystemTimeToDateTime(st), EncodeDate(2024, 6, 1) + EncodeTime(12, 34, 56, 789));
    const SYSTEMTIME beforeEpoch{1899, 12, 5, 29, 6, 0, 0, 0};
    EXPECT_EQ(SystemTimeToDateTime(beforeEpoch), -1.25);
    const SYSTEMTIME noSuchDay{2023, 2, 3, 29, 0, 0, 0, 0};
    try {
        SystemTimeToDateTime(noSuchDay);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Argument incorrect pour l'encodage de date");
    }
}

TFormatSettings Settings(std::string date, std::string time, std::string am = "AM",
                         std::string pm = "PM") {
    TFormatSettings fs;
    fs.ShortDateFormat = std::move(date);
    fs.LongTimeFormat = std::move(time);
    fs.TimeAMString = std::move(am);
    fs.TimePMString = std::move(pm);
    return fs;
}

// The Time protocol's answer N (seconds since 1900) read as N / 86400: only the time of day
// matters.
TDateTime TimeAnswer(double n) {
    return n / 86400;
}

TEST(TimeToStr, TimeProtocolAnswers) {
    const TFormatSettings french = Settings("dd/MM/yyyy", "HH:mm:ss");
    const TFormatSettings english = Settings("M/d/yyyy", "h:mm:ss tt");
    const struct {
        const char* name;
        double n;
        std::string french, english;
    } rows[] = {
        {"EA 05 93 F0: 2024-06-01 12:34:56", 3926234096.0, "12:34:56", "12:34:56 PM"},
        {"BC 17 C2 00: 2000-01-01 00:00:00", 3155673600.0, "00:00:00", "12:00:00 AM"},
        {"00 3C: one minute", 60.0, "00:01:00", "12:01:00 AM"},
        {"one second before midnight", 86399.0, "23:59:59", "11:59:59 PM"},
        {"one in the afternoon", 13 * 3600.0, "13:00:00", "1:00:00 PM"},
        {"2^32 wraps to 06:28:16", 4294967296.0, "06:28:16", "6:28:16 AM"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(TimeToStr(TimeAnswer(r.n), french), r.french);
        EXPECT_EQ(TimeToStr(TimeAnswer(r.n), english), r.english);
    }
}

TEST(Pictures, TimeAndDateLetters) {
    const TDateTime afternoon = EncodeDate(2024, 6, 1) + EncodeTime(14, 7, 9, 0);
    const TDateTime morning = EncodeDate(2005, 11, 23) + EncodeTime(9, 30, 5, 0);
    const struct {
        const char* name;
        std::string picture;
        bool date;
        TDateTime value;
        std::string expected;
    } rows[] = {
        {"24-hour two digits", "HH:mm:ss", false, afternoon, "14:07:09"},
        {"24-hour one digit", "H:mm:ss", false, morning, "9:30:05"},
        {"12-hour two digits", "hh:mm:ss tt", false, afternoon, "02:07:09 PM"},
        {"12-hour, marker first", "tt h:mm:ss", false, afternoon, "PM 2:07:09"},
        {"one-letter marker", "h:mm:ss t", false, morning, "9:30:05 A"},
        {"short minutes and seconds", "H:m:s", false, afternoon, "14:7:9"},
        {"dots", "HH.mm.ss", false, afternoon, "14.07.09"},
        {"quoted text", "HH'h'mm' min'", false, afternoon, "14h07 min"},
        {"doubled quote", "HH''mm", false, afternoon, "14'07"},
        {"date letters are plain text in a time", "HH:mm 'd' d", false, afternoon, "14:07 d d"},
        {"French date", "dd/MM/yyyy", true, afternoon, "01/06/2024"},
        {"US date", "M/d/yyyy", true, afternoon, "6/1/2024"},
        {"ISO date", "yyyy-MM-dd", true, morning, "2005-11-23"},
        {"two-digit year", "dd.MM.yy", true, morning, "23.11.05"},
        {"one-digit year", "d/M/y", true, morning, "23/11/5"},
        {"time letters are plain text in a date", "'le 'd/M hh", true, morning, "le 23/11 hh"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const TFormatSettings fs =
            r.date ? Settings(r.picture, "HH:mm:ss") : Settings("dd/MM/yyyy", r.picture);
        EXPECT_EQ(r.date ? DateToStr(r.value, fs) : TimeToStr(r.value, fs), r.expected);
    }
}

TEST(Pictures, MarkersInUtf8) {
    const TFormatSettings fs = Settings("dd/MM/yyyy", "h:mm t|tt", "ÉMA", "après");
    EXPECT_EQ(TimeToStr(EncodeTime(1, 2, 0, 0), fs), "1:02 É|ÉMA");
    EXPECT_EQ(TimeToStr(EncodeTime(13, 2, 0, 0), fs), "1:02 a|après");
}

TEST(Pictures, SecondsAreCutAfterRoundingToTheMillisecond) {
    const TFormatSettings fs = Settings("dd/MM/yyyy", "HH:mm:ss");
    const TDateTime day = EncodeDate(2024, 6, 1);
    EXPECT_EQ(TimeToStr(day + 45'296'999 / kMSecsPerDay, fs), "12:34:56");
    EXPECT_EQ(TimeToStr(day + 45'296'999.6 / kMSecsPerDay, fs), "12:34:57");
    EXPECT_EQ(DateTimeToStr(day + 86'399'999.6 / kMSecsPerDay, fs), "02/06/2024");
}

TEST(DateTimeToStr, DateAloneAtMidnight) {
    const TFormatSettings fs = Settings("dd/MM/yyyy", "HH:mm:ss");
    const TDateTime day = EncodeDate(2004, 12, 9);
    const struct {
        const char* name;
        TDateTime value;
        std::string dateTime, date, time;
    } rows[] = {
        {"midnight", day, "09/12/2004", "09/12/2004", "00:00:00"},
        {"milliseconds past midnight", day + EncodeTime(0, 0, 0, 400), "09/12/2004", "09/12/2004",
         "00:00:00"},
        {"one second past midnight", day + EncodeTime(0, 0, 1, 0), "09/12/2004 00:00:01",
         "09/12/2004", "00:00:01"},
        {"morning", day + EncodeTime(10, 37, 5, 0), "09/12/2004 10:37:05", "09/12/2004",
         "10:37:05"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(DateTimeToStr(r.value, fs), r.dateTime);
        EXPECT_EQ(DateToStr(r.value, fs), r.date);
        EXPECT_EQ(TimeToStr(r.value, fs), r.time);
    }
}

TEST(FormatSettings, TheTestBackendIsFrench) {
    LoadFormatSettings();
    EXPECT_EQ(FormatSettings.ShortDateFormat, "dd/MM/yyyy");
    EXPECT_EQ(FormatSettings.LongTimeFormat, "HH:mm:ss");
    EXPECT_EQ(TimeToStr(TimeAnswer(3926234096.0)), "12:34:56");
}

struct LocaleCase {
    const char* name;
    TFormatSettings fs;
};

class TimeRoundTrip : public testing::TestWithParam<LocaleCase> {};

TEST_P(TimeRoundTrip, EverySecondOfTheDay) {
    const TFormatSettings& fs = GetParam().fs;
    for (int s = 0; s < 86400; ++s) {
        const auto h = static_cast<std::uint16_t>(s / 3600);
        const auto m = static_cast<std::uint16_t>(s / 60 % 60);
        const auto sec = static_cast<std::uint16_t>(s % 60);
        const TDateTime t = EncodeTime(h, m, sec, 0);
        const std::string text = TimeToStr(t, fs);
        TDateTime back = -1;
        try {
            back = StrToTime(text, fs);
        } catch (const EConvertError& e) {
            FAIL() << "second " << s << ": '" << text << "' not read back: " << e.Message;
        }
        if (back != t)
            FAIL() << "second " << s << ": '" << text << "' read back as " << back * 86400;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, TimeRoundTrip,
    testing::Values(LocaleCase{"TwoDigitHours", Settings("dd/MM/yyyy", "HH:mm:ss")},
                    LocaleCase{"OneDigitHours", Settings("dd/MM/yyyy", "H:mm:ss")},
                    LocaleCase{"TwelveHourMarkerAfter", Settings("M/d/yyyy", "h:mm:ss tt")},
                    LocaleCase{"TwelveHourMarkerBefore", Settings("M/d/yyyy", "tt h:mm:ss")},
                    LocaleCase{"DotSeparator", Settings("dd.MM.yyyy", "HH.mm.ss")}),
    [](const testing::TestParamInfo<LocaleCase>& info) { return std::string(info.param.name); });

TEST(StrToTime, ReadsWhatUsersType) {
    const TFormatSettings h24 = Settings("dd/MM/yyyy", "HH:mm:ss");
    const TFormatSettings h12 = Settings("M/d/yyyy", "h:mm:ss tt");
    const TFormatSettings dots = Settings("dd.MM.yyyy", "HH.mm.ss");
    const struct {
        const char* name;
        const TFormatSettings& fs;
        std::string text;
        int seconds;
    } rows[] = {
        {"plain", h24, "12:34:56", 45296},
        {"blanks around", h24, "  12:34:56 ", 45296},
        {"one digit each", h24, "1:2:3", 3723},
        {"no seconds", h24, "12:34", 45240},
        {"midnight", h24, "00:00:00", 0},
        {"last second", h24, "23:59:59", 86399},
        {"marker after", h12, "12:34:56 PM", 45296},
        {"marker before", h12, "PM 12:34:56", 45296},
        {"marker in lower case", h12, "1:00:00 pm", 46800},
        {"marker without blank", h12, "1:00:00PM", 46800},
        {"twelve AM is midnight", h12, "12:00:00 AM", 0},
        {"hour 0 PM is noon", h12, "0:00:00 PM", 43200},
        {"24-hour text in a 12-hour locale", h12, "13:00:00", 46800},
        {"marker in a 24-hour locale", h24, "1:00:00 PM", 46800},
        {"dots", dots, "14.07.09", 50829},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(StrToTime(r.text, r.fs), r.seconds * 1000 / kMSecsPerDay);
    }
}

TEST(StrToTime, RejectsWhatIsNotATime) {
    const TFormatSettings h24 = Settings("dd/MM/yyyy", "HH:mm:ss");
    const TFormatSettings h12 = Settings("M/d/yyyy", "h:mm:ss tt");
    const struct {
        const char* name;
        const TFormatSettings& fs;
        std::string text;
    } rows[] = {
        {"empty", h24, ""},
        {"blanks", h24, "   "},
        {"garbage", h24, "abc"},
        {"hour 25", h24, "25:00:00"},
        {"hour 24", h24, "24:00:00"},
        {"minute 60", h24, "12:60:00"},
        {"second 60", h24, "12:00:60"},
        {"trailing text", h24, "12:34:56x"},
        {"four fields", h24, "12:34:56:78"},
        {"missing minutes", h24, "12::00"},
        {"hour alone", h24, "12"},
        {"wrong separator", h24, "12.34.56"},
        {"three-digit hour", h24, "012:00:00"},
        {"negative", h24, "-1:00:00"},
        {"hour 13 with marker", h12, "13:00:00 PM"},
        {"two markers", h12, "AM 1:00:00 PM"},
        {"marker alone", h12, "PM"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        try {
            StrToTime(r.text, r.fs);
            ADD_FAILURE() << "'" << r.text << "' was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + r.text + "' n'est pas une heure correcte");
        }
    }
}

} // namespace
} // namespace tk
