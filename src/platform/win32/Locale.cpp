// The user's date and time formats on Windows, read once from the locale settings.
#include "platform/DateTime.h"

#include <windows.h>

#include <string>

namespace tk {

namespace {

std::string LocaleText(LCTYPE item, const std::string& fallback) {
    wchar_t wide[128];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, wide, 128);
    if (length <= 0)
        return fallback;
    // An empty marker is a valid setting; only a failed call keeps the default.
    if (length == 1)
        return {};
    char utf8[512];
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, wide, length - 1, utf8, sizeof utf8, nullptr, nullptr);
    return written <= 0 ? fallback : std::string(utf8, static_cast<std::size_t>(written));
}

} // namespace

void LoadFormatSettings() {
    const TFormatSettings defaults;
    FormatSettings.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, defaults.ShortDateFormat);
    FormatSettings.LongTimeFormat = LocaleText(LOCALE_STIMEFORMAT, defaults.LongTimeFormat);
    FormatSettings.TimeAMString = LocaleText(LOCALE_S1159, defaults.TimeAMString);
    FormatSettings.TimePMString = LocaleText(LOCALE_S2359, defaults.TimePMString);
}

} // namespace tk
