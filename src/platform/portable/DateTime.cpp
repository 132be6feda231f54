// TDateTime values: encoding, decoding, and their text in the Windows locale pictures.
#include "platform/DateTime.h"

#include "platform/SysUtils.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace tk {

TFormatSettings FormatSettings;

namespace {

using namespace std::chrono;

constexpr std::int64_t kMSecsPerDay = 86'400'000;
constexpr sys_days kEpoch = sys_days{1899y / December / 30};
// Day numbers of 0001-01-01 and 9999-12-31.
const std::int64_t kFirstDay = (sys_days{year{1} / January / 1} - kEpoch).count();
const std::int64_t kLastDay = (sys_days{year{9999} / December / 31} - kEpoch).count();

const char* const kDateError = "Argument incorrect pour l'encodage de date";
const char* const kTimeError = "Argument incorrect pour l'encodage de l'heure";

// A value taken apart once, so that a time of day that rounds up to 24:00 moves the date too.
struct Parts {
    bool valid = false; // false for a value outside years 1-9999 (or not a number)
    std::int64_t day = 0;
    std::int64_t msec = 0; // milliseconds since midnight, 0 to 86,399,999
};

// To the nearest integer, a tie to the even one, as the floating-point unit rounds by default;
// written out so that it does not depend on the current rounding mode.
std::int64_t RoundHalfEven(double x) {
    const double below = std::floor(x);
    const double rest = x - below;
    auto result = static_cast<std::int64_t>(below);
    if (rest > 0.5 || (rest == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

Parts Split(TDateTime value) {
    Parts parts;
    if (!std::isfinite(value) || value < kFirstDay - 1.0 || value > kLastDay + 1.0)
        return parts;
    const double whole = std::trunc(value);
    parts.day = static_cast<std::int64_t>(whole);
    parts.msec = RoundHalfEven(std::fabs(value - whole) * kMSecsPerDay);
    if (parts.msec >= kMSecsPerDay) {
        // The next calendar day, whichever side of the epoch the value lies.
        parts.msec -= kMSecsPerDay;
        parts.day += 1;
    }
    parts.valid = parts.day >= kFirstDay && parts.day <= kLastDay;
    return parts;
}

struct Fields {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

Fields FieldsOf(TDateTime value) {
    Fields f;
    const Parts parts = Split(value);
    if (!parts.valid)
        return f;
    const year_month_day date{kEpoch + days{parts.day}};
    f.year = static_cast<int>(date.year());
    f.month = static_cast<int>(static_cast<unsigned>(date.month()));
    f.day = static_cast<int>(static_cast<unsigned>(date.day()));
    // Milliseconds are cut: the seconds shown are never rounded up.
    f.hour = static_cast<int>(parts.msec / 3'600'000);
    f.minute = static_cast<int>(parts.msec / 60'000 % 60);
    f.second = static_cast<int>(parts.msec / 1000 % 60);
    return f;
}

std::string Number(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// The first character (UTF-8) of a marker, for the picture letter "t".
std::string FirstCharacter(const std::string& text) {
    if (text.empty())
        return text;
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, length);
}

// A picture cut into runs of one field letter and literal text.
struct Token {
    char letter = 0; // 0 for literal text
    int count = 0;
    std::string text;
};

std::vector<Token> Tokenize(std::string_view picture, std::string_view letters) {
    std::vector<Token> tokens;
    const auto literal = [&](std::string_view text) {
        if (tokens.empty() || tokens.back().letter != 0)
            tokens.push_back(Token{});
        tokens.back().text += text;
    };
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'' && i + 1 < picture.size() && picture[i + 1] == '\'') {
            // Two quotes stand for one, inside quoted text or not.
            literal("'");
            i += 2;
        } else if (c == '\'') {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        literal("'");
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(picture.substr(i, 1));
                ++i;
            }
        } else if (letters.find(c) != std::string_view::npos) {
            std::size_t end = i;
            while (end < picture.size() && picture[end] == c)
                ++end;
            tokens.push_back(Token{c, static_cast<int>(end - i), {}});
            i = end;
        } else {
            literal(picture.substr(i, 1));
            ++i;
        }
    }
    return tokens;
}

constexpr std::string_view kDateLetters = "dMy";
constexpr std::string_view kTimeLetters = "hHmst";

std::string Format(std::string_view picture, std::string_view letters, const Fields& f,
                   const TFormatSettings& fs) {
    std::string out;
    for (const Token& t : Tokenize(picture, letters)) {
        const int width = t.count >= 2 ? 2 : 1;
        switch (t.letter) {
        case 0:
            out += t.text;
            break;
        case 'd':
            out += Number(f.day, width);
            break;
        case 'M':
            out += Number(f.month, width);
            break;
        case 'y':
            out += t.count >= 3 ? Number(f.year, 4) : Number(f.year % 100, width);
            break;
        case 'h':
            out += Number(f.hour % 12 == 0 ? 12 : f.hour % 12, width);
            break;
        case 'H':
            out += Number(f.hour, width);
            break;
        case 'm':
            out += Number(f.minute, width);
            break;
        case 's':
            out += Number(f.second, width);
            break;
        case 't': {
            const std::string& marker = f.hour < 12 ? fs.TimeAMString : fs.TimePMString;
            out += t.count >= 2 ? marker : FirstCharacter(marker);
            break;
        }
        }
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The separators the picture puts between hours and minutes, and minutes and seconds.
struct Separators {
    std::string hourMinute = ":";
    std::string minuteSecond = ":";
};

Separators SeparatorsOf(std::string_view picture) {
    Separators seps;
    const std::vector<Token> tokens = Tokenize(picture, kTimeLetters);
    const auto between = [&](char first, char second, std::string& into) {
        std::string text;
        bool inside = false;
        for (const Token& t : tokens) {
            if (t.letter == first || (first == 'h' && t.letter == 'H')) {
                inside = true;
                text.clear();
            } else if (inside && t.letter == second) {
                const std::string_view trimmed = TrimBlanks(text);
                if (!trimmed.empty())
                    into = trimmed;
                return;
            } else if (inside && t.letter == 0) {
                text += t.text;
            }
        }
    };
    between('h', 'm', seps.hourMinute);
    between('m', 's', seps.minuteSecond);
    return seps;
}

std::optional<int> ReadNumber(std::string_view& s) {
    int value = 0;
    std::size_t n = 0;
    while (n < s.size() && n < 2 && s[n] >= '0' && s[n] <= '9') {
        value = value * 10 + (s[n] - '0');
        ++n;
    }
    if (n == 0)
        return std::nullopt;
    s.remove_prefix(n);
    return value;
}

bool ReadSeparator(std::string_view& s, std::string_view separator) {
    s = TrimBlanks(s);
    if (s.substr(0, separator.size()) != separator)
        return false;
    s.remove_prefix(separator.size());
    s = TrimBlanks(s);
    return true;
}

enum class Marker { None, AM, PM };

// Takes a morning or afternoon marker off either end of the text: users type it on either side.
Marker TakeMarker(std::string_view& s, const TFormatSettings& fs) {
    const std::string_view candidates[][2] = {{fs.TimeAMString, "AM"}, {fs.TimePMString, "PM"}};
    for (int which = 0; which < 2; ++which) {
        for (const std::string_view marker : candidates[which]) {
            if (marker.empty() || marker.size() > s.size())
                continue;
            const Marker found = which == 0 ? Marker::AM : Marker::PM;
            if (EqualNoCase(s.substr(0, marker.size()), marker)) {
                s = TrimBlanks(s.substr(marker.size()));
                return found;
            }
            if (EqualNoCase(s.substr(s.size() - marker.size()), marker)) {
                s = TrimBlanks(s.substr(0, s.size() - marker.size()));
                return found;
            }
        }
    }
    return Marker::None;
}

std::optional<std::int64_t> ParseTime(std::string_view s, const TFormatSettings& fs) {
    s = TrimBlanks(s);
    const Marker marker = TakeMarker(s, fs);
    const Separators seps = SeparatorsOf(fs.LongTimeFormat);
    const auto hour = ReadNumber(s);
    if (!hour || !ReadSeparator(s, seps.hourMinute))
        return std::nullopt;
    const auto minute = ReadNumber(s);
    if (!minute)
        return std::nullopt;
    std::optional<int> second = 0;
    if (!s.empty()) {
        if (!ReadSeparator(s, seps.minuteSecond))
            return std::nullopt;
        second = ReadNumber(s);
        if (!second || !s.empty())
            return std::nullopt;
    }
    int h = *hour;
    if (marker != Marker::None) {
        if (h > 12)
            return std::nullopt;
        if (marker == Marker::AM && h == 12)
            h = 0;
        else if (marker == Marker::PM && h < 12)
            h += 12;
    }
    if (h > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    return (h * 3600 + *minute * 60 + *second) * std::int64_t{1000};
}

} // namespace

bool TryEncodeDate(std::uint16_t y, std::uint16_t m, std::uint16_t d, TDateTime& date) {
    const year_month_day ymd{year{y}, month{m}, day{d}};
    if (y < 1 || y > 9999 || !ymd.ok())
        return false;
    date = static_cast<TDateTime>((sys_days{ymd} - kEpoch).count());
    return true;
}

TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError(kDateError);
    return date;
}

TDateTime EncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec) {
    if (hour > 23 || min > 59 || sec > 59 || msec > 999)
        throw EConvertError(kTimeError);
    const std::int64_t total = ((hour * 60 + min) * 60 + sec) * std::int64_t{1000} + msec;
    return static_cast<double>(total) / kMSecsPerDay;
}

void DecodeDate(TDateTime value, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day) {
    const Fields f = FieldsOf(value);
    year = static_cast<std::uint16_t>(f.year);
    month = static_cast<std::uint16_t>(f.month);
    day = static_cast<std::uint16_t>(f.day);
}

void DecodeTime(TDateTime value, std::uint16_t& hour, std::uint16_t& min, std::uint16_t& sec,
                std::uint16_t& msec) {
    const Parts parts = Split(value);
    hour = static_cast<std::uint16_t>(parts.msec / 3'600'000);
    min = static_cast<std::uint16_t>(parts.msec / 60'000 % 60);
    sec = static_cast<std::uint16_t>(parts.msec / 1000 % 60);
    msec = static_cast<std::uint16_t>(parts.msec % 1000);
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st) {
    const TDateTime date = EncodeDate(st.wYear, st.wMonth, st.wDay);
    const TDateTime time = EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    // Before the epoch the fraction still counts forward from midnight.
    return date >= 0 ? date + time : date - time;
}

std::string TimeToStr(TDateTime value, const TFormatSettings& fs) {
    return Format(fs.LongTimeFormat, kTimeLetters, FieldsOf(value), fs);
}

std::string DateToStr(TDateTime value, const TFormatSettings& fs) {
    return Format(fs.ShortDateFormat, kDateLetters, FieldsOf(value), fs);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& fs) {
    const Fields f = FieldsOf(value);
    std::string text = Format(fs.ShortDateFormat, kDateLetters, f, fs);
    if (f.hour != 0 || f.minute != 0 || f.second != 0)
        text += ' ' + Format(fs.LongTimeFormat, kTimeLetters, f, fs);
    return text;
}

TDateTime StrToTime(const std::string& text, const TFormatSettings& fs) {
    const auto msec = ParseTime(text, fs);
    if (!msec)
        throw EConvertError("'" + text + "' n'est pas une heure correcte");
    return static_cast<double>(*msec) / kMSecsPerDay;
}

} // namespace tk
