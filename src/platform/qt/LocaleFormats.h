// The user's LC_TIME formats (strftime patterns) turned into the toolkit's Windows pictures.
#pragma once

#include "platform/DateTime.h"

#include <locale.h>

#include <string>

namespace tk::qt {

// What the C library says of a locale's dates and times, in UTF-8.
struct LcTimeFormats {
    std::string dateFormat;     // D_FMT, e.g. "%d/%m/%Y"
    std::string timeFormat;     // T_FMT, e.g. "%T" or "%r"
    std::string timeFormatAmPm; // T_FMT_AMPM, e.g. "%I:%M:%S %p"; empty in 24-hour locales
    std::string am;             // AM_STR
    std::string pm;             // PM_STR
};

// The five items of `locale`, converted from its LC_CTYPE's character set to UTF-8.
LcTimeFormats ReadLcTimeFormats(locale_t locale);

// The short date and long time pictures and the markers. Shorthands (%D %F %T %R %r %X %x)
// are expanded; fields the pictures cannot show (week day, time zone) are left out with the
// blanks around them; letters of literal text are quoted; the time picture ends at its last
// field, so that the toolkit reads back the times it writes.
TFormatSettings ToFormatSettings(const LcTimeFormats& formats);

} // namespace tk::qt
