// LC_TIME patterns as Windows pictures: real locales read through nl_langinfo (compiled into a
// private LOCPATH, so the machine's generated locales do not matter), then patterns that
// glibc's locales use only here and there.
#include "platform/qt/LocaleFormats.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// 2026-03-05 14:07:09 and 09:05:03.
const tk::TDateTime kAfternoon = tk::EncodeDate(2026, 3, 5) + tk::EncodeTime(14, 7, 9, 0);
const tk::TDateTime kMorning = tk::EncodeDate(2026, 3, 5) + tk::EncodeTime(9, 5, 3, 0);

struct LocaleCase {
    const char* name;
    const char* source;  // localedef -i; nullptr for the built-in C locale
    const char* charmap; // localedef -f
    const char* shortDate;
    const char* longTime;
    const char* am;
    const char* pm;
    const char* dateText;      // kAfternoon's date
    const char* afternoonText; // kAfternoon's time
    const char* morningText;   // kMorning's time
};

// Test names show the row's name, not its bytes.
void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.name;
}

const LocaleCase localeCases[] = {
    {"C", nullptr, nullptr, "MM/dd/yy", "HH:mm:ss", "AM", "PM", "03/05/26", "14:07:09", "09:05:03"},
    {"fr_FR", "fr_FR", "UTF-8", "dd/MM/yyyy", "HH:mm:ss", "", "", "05/03/2026", "14:07:09",
     "09:05:03"},
    {"en_US", "en_US", "UTF-8", "MM/dd/yyyy", "hh:mm:ss tt", "AM", "PM", "03/05/2026",
     "02:07:09 PM", "09:05:03 AM"},
    {"de_DE", "de_DE", "UTF-8", "dd.MM.yyyy", "HH:mm:ss", "", "", "05.03.2026", "14:07:09",
     "09:05:03"},
    // Twelve-hour, the marker first, a week day and a time zone the pictures leave out, and
    // the time's last text ("秒"), which StrToTime would not read back.
    {"zh_HK", "zh_HK", "UTF-8", "yyyy年MM月dd日", "tt hh時mm分ss", "上午", "下午", "2026年03月05日",
     "下午 02時07分09", "上午 09時05分03"},
    // Not UTF-8: the texts come back converted.
    {"ko_KR_EUC", "ko_KR", "EUC-KR", "yyyy년 MM월 dd일", "HH시 mm분 ss", "오전", "오후",
     "2026년 03월 05일", "14시 07분 09", "09시 05분 03"},
};

class LocaleFormats : public testing::TestWithParam<LocaleCase> {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("pendulix-locales-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        setenv("LOCPATH", dir_.c_str(), 1);
    }
    static void TearDownTestSuite() {
        unsetenv("LOCPATH");
        fs::remove_all(dir_);
    }
    static std::string LocaleName(const LocaleCase& c) {
        if (c.source == nullptr)
            return "C";
        const std::string name = std::string(c.source) + "." + c.charmap;
        const fs::path target = dir_ / name;
        if (!fs::exists(target)) {
            const std::string command = "localedef -c -i " + std::string(c.source) + " -f " +
                                        c.charmap + " " + target.string() + " >/dev/null 2>&1";
            // -c: some locales warn about their own data and still compile.
            (void)std::system(command.c_str());
        }
        return name;
    }
    static fs::path dir_;
};
fs::path LocaleFormats::dir_;

TEST_P(LocaleFormats, PicturesMarkersAndTheirTexts) {
    const LocaleCase& c = GetParam();
    const std::string name = LocaleName(c);
    locale_t locale =
        ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    ASSERT_NE(locale, static_cast<locale_t>(nullptr)) << "locale " << name << " not available";
    const tk::TFormatSettings fs = tk::qt::ToFormatSettings(tk::qt::ReadLcTimeFormats(locale));
    ::freelocale(locale);

    EXPECT_EQ(fs.ShortDateFormat, c.shortDate);
    EXPECT_EQ(fs.LongTimeFormat, c.longTime);
    EXPECT_EQ(fs.TimeAMString, c.am);
    EXPECT_EQ(fs.TimePMString, c.pm);
    EXPECT_EQ(tk::DateToStr(kAfternoon, fs), c.dateText);
    EXPECT_EQ(tk::TimeToStr(kAfternoon, fs), c.afternoonText);
    EXPECT_EQ(tk::TimeToStr(kMorning, fs), c.morningText);
    // The time the program writes must read back.
    EXPECT_EQ(tk::TimeToStr(tk::StrToTime(c.afternoonText, fs), fs), c.afternoonText);
}

INSTANTIATE_TEST_SUITE_P(Glibc, LocaleFormats, testing::ValuesIn(localeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PatternCase {
    const char* name;
    tk::qt::LcTimeFormats formats;
    const char* shortDate;
    const char* longTime;
};

// Test names show the row's name, not its bytes.
void PrintTo(const PatternCase& c, std::ostream* os) {
    *os << c.name;
}

const PatternCase patternCases[] = {
    {"UnpaddedFieldsAndTrailingZone",
     {"%-d/%-m/%y", "%I:%M:%S %p %Z", "%I:%M:%S %p %Z", "AM", "PM"},
     "d/M/yy",
     "hh:mm:ss tt"},
    {"LeadingZone", {"%d.%m.%Y", "%Z %I:%M:%S %p", "", "AM", "PM"}, "dd.MM.yyyy", "hh:mm:ss tt"},
    {"SpacePaddedFields", {"%e/%m/%Y", "%k:%M:%S", "", "", ""}, "d/MM/yyyy", "H:mm:ss"},
    {"TwelveHourSpacePadded", {"%F", "%l:%M %P", "", "am", "pm"}, "yyyy-MM-dd", "h:mm tt"},
    {"MonthNameAsNumber", {"%d %b, %Y", "%R", "", "", ""}, "dd MM, yyyy", "HH:mm"},
    {"LettersAndQuotesInText", {"%D", "%Hh%M'%S", "", "", ""}, "MM/dd/yy", "HH'h'mm''ss"},
    {"TextAfterTheSecondsLeftOut",
     {"%Y年%m月%d日", "%H時%M分%S秒", "", "", ""},
     "yyyy年MM月dd日",
     "HH時mm分ss"},
    {"MarkerFirstWithoutBlank",
     {"%x", "%p%I:%M:%S", "", "午前", "午後"},
     "dd/MM/yyyy",
     "tthh:mm:ss"},
    {"TwelveHourShorthandWithoutItsPattern",
     {"%Y-%m-%d", "%r", "", "", ""},
     "yyyy-MM-dd",
     "hh:mm:ss tt"},
    {"SelfNamingShorthands", {"%x", "%X", "", "", ""}, "dd/MM/yyyy", "HH:mm:ss"},
    {"EraAndAlternativeDigitsModifiers",
     {"%Ey/%Om/%Od", "%OH:%OM:%OS", "", "", ""},
     "yy/MM/dd",
     "HH:mm:ss"},
    {"Empty", {"", "", "", "", ""}, "dd/MM/yyyy", "HH:mm:ss"},
};

class Patterns : public testing::TestWithParam<PatternCase> {};

TEST_P(Patterns, BecomePictures) {
    const PatternCase& c = GetParam();
    const tk::TFormatSettings fs = tk::qt::ToFormatSettings(c.formats);
    EXPECT_EQ(fs.ShortDateFormat, c.shortDate);
    EXPECT_EQ(fs.LongTimeFormat, c.longTime);
    EXPECT_EQ(fs.TimeAMString, c.formats.am);
    EXPECT_EQ(fs.TimePMString, c.formats.pm);
}

INSTANTIATE_TEST_SUITE_P(Strftime, Patterns, testing::ValuesIn(patternCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
