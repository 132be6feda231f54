// The user's date and time formats on Linux, read once from LC_TIME through nl_langinfo.
#include "platform/DateTime.h"
#include "platform/qt/LocaleFormats.h"

#include <iconv.h>
#include <langinfo.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tk {

namespace qt {

namespace {

// The locale's bytes as UTF-8; left as they are when the conversion fails.
std::string ToUtf8(const char* text, const char* codeset) {
    if (text == nullptr)
        return {};
    std::string bytes(text);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 || bytes.empty())
        return bytes;
    iconv_t converter = ::iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::string out(bytes.size() * 4, '\0');
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(converter, &in, &inLeft, &outAt, &outLeft);
    ::iconv_close(converter);
    if (done == static_cast<std::size_t>(-1))
        return bytes;
    out.resize(out.size() - outLeft);
    return out;
}

// Pieces of a picture: a field, or literal text to be quoted where needed.
struct Picture {
    std::string text;
    std::string literal; // pending literal text

    void Field(std::string_view letters) {
        Flush();
        text += letters;
    }
    void Literal(std::string_view chars) { literal += chars; }
    // Drops a field the pictures cannot show, with the blanks that only separated it.
    void Dropped() {
        while (!literal.empty() && literal.back() == ' ')
            literal.pop_back();
        droppedLast = true;
    }
    void Flush() {
        std::string_view pending = literal;
        if (droppedLast && text.empty())
            while (!pending.empty() && pending.front() == ' ')
                pending.remove_prefix(1);
        droppedLast = false;
        // Letters would be read as fields, so they go inside quotes; a quote is doubled.
        bool quoted = false;
        for (const char c : pending) {
            const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            if (letter != quoted) {
                text += '\'';
                quoted = letter;
            }
            text += c == '\'' ? std::string("''") : std::string(1, c);
        }
        if (quoted)
            text += '\'';
        literal.clear();
    }
    std::string Finish(bool trailingText) {
        if (!trailingText)
            literal.clear();
        while (!literal.empty() && literal.back() == ' ')
            literal.pop_back();
        Flush();
        return text;
    }

private:
    bool droppedLast = false;
};

void Translate(std::string_view pattern, const LcTimeFormats& formats, Picture& out, int depth) {
    // %x and %X name the locale's own patterns; a depth bound keeps a locale that names
    // itself from looping.
    if (depth > 4)
        return;
    const auto expand = [&](std::string_view inner) { Translate(inner, formats, out, depth + 1); };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out.Literal(pattern.substr(i, 1));
            continue;
        }
        if (++i >= pattern.size())
            break;
        // glibc's flags and field widths, then the E and O modifiers.
        bool unpadded = false;
        while (i < pattern.size() && std::strchr("_-0^#", pattern[i]) != nullptr) {
            unpadded = unpadded || pattern[i] == '-';
            ++i;
        }
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9')
            ++i;
        while (i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'O'))
            ++i;
        if (i >= pattern.size())
            break;
        const auto two = [&](std::string_view padded, std::string_view bare) {
            out.Field(unpadded ? bare : padded);
        };
        switch (pattern[i]) {
        case 'd':
            two("dd", "d");
            break;
        case 'e':
            out.Field("d");
            break;
        case 'm':
            two("MM", "M");
            break;
        case 'b':
        case 'h':
        case 'B':
            out.Field("MM");
            break; // names are not in the pictures
        case 'Y':
            out.Field("yyyy");
            break;
        case 'y':
            two("yy", "y");
            break;
        case 'H':
            two("HH", "H");
            break;
        case 'k':
            out.Field("H");
            break;
        case 'I':
            two("hh", "h");
            break;
        case 'l':
            out.Field("h");
            break;
        case 'M':
            two("mm", "m");
            break;
        case 'S':
            two("ss", "s");
            break;
        case 'p':
        case 'P':
            out.Field("tt");
            break;
        case 'D':
            expand("%m/%d/%y");
            break;
        case 'F':
            expand("%Y-%m-%d");
            break;
        case 'T':
            expand("%H:%M:%S");
            break;
        case 'R':
            expand("%H:%M");
            break;
        case 'r':
            expand(formats.timeFormatAmPm.empty() ? "%I:%M:%S %p" : formats.timeFormatAmPm);
            break;
        case 'X':
            expand(formats.timeFormat);
            break;
        case 'x':
            expand(formats.dateFormat);
            break;
        case 'n':
        case 't':
            out.Literal(" ");
            break;
        case '%':
            out.Literal("%");
            break;
        default:
            out.Dropped();
            break; // %a %A %Z %z %C %j ...
        }
    }
}

std::string PictureOf(std::string_view pattern, const LcTimeFormats& formats,
                      const std::string& fallback, bool trailingText) {
    Picture picture;
    Translate(pattern, formats, picture, 0);
    std::string text = picture.Finish(trailingText);
    return text.empty() ? fallback : text;
}

} // namespace

LcTimeFormats ReadLcTimeFormats(locale_t locale) {
    const char* codeset = ::nl_langinfo_l(CODESET, locale);
    return {ToUtf8(::nl_langinfo_l(D_FMT, locale), codeset),
            ToUtf8(::nl_langinfo_l(T_FMT, locale), codeset),
            ToUtf8(::nl_langinfo_l(T_FMT_AMPM, locale), codeset),
            ToUtf8(::nl_langinfo_l(AM_STR, locale), codeset),
            ToUtf8(::nl_langinfo_l(PM_STR, locale), codeset)};
}

TFormatSettings ToFormatSettings(const LcTimeFormats& formats) {
    const TFormatSettings defaults;
    TFormatSettings settings;
    settings.ShortDateFormat =
        PictureOf(formats.dateFormat, formats, defaults.ShortDateFormat, true);
    // A time is read back (StrToTime) only up to its seconds, as Windows' pictures end there:
    // text after the last field ("秒") is left out.
    settings.LongTimeFormat =
        PictureOf(formats.timeFormat, formats, defaults.LongTimeFormat, false);
    settings.TimeAMString = formats.am;
    settings.TimePMString = formats.pm;
    return settings;
}

} // namespace qt

void LoadFormatSettings() {
    // The user's LC_TIME, read without changing the process's own locale; its character set
    // is that of the same locale's LC_CTYPE. A locale that is not installed counts as "C", as
    // setlocale would make it.
    const char* name = nullptr;
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    constexpr int kMask = LC_TIME_MASK | LC_CTYPE_MASK;
    locale_t user =
        ::newlocale(kMask, name != nullptr ? name : "C", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr))
        user = ::newlocale(kMask, "C", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr))
        return;
    FormatSettings = qt::ToFormatSettings(qt::ReadLcTimeFormats(user));
    ::freelocale(user);
}

} // namespace tk
