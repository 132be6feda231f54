// The settings reader on Windows: the system's own profile reader.
#include "platform/IniFiles.h"

#include "platform/SysUtils.h"
#include "platform/win32/Gui.h"

#include <windows.h>

#include <string>

namespace tk {

namespace {

// The name in the ANSI code page, or empty when some character has no place there.
std::string ToAnsiCodePage(const std::wstring& wide) {
    if (wide.empty())
        return {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, &lossy);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                        length, nullptr, &lossy);
    return lossy ? std::string() : narrow;
}

// The A function is used, not the W one: it hands back the file's own bytes (Windows-1252 by
// this program's rule) whatever the system's code page, where the W function would decode them
// by that code page. Only the file name has to be brought into the ANSI code page; a name with
// characters outside it goes by its short (8.3) alias, which always fits.
std::string AnsiFileName(const std::string& utf8) {
    const std::wstring wide = gui::Widen(utf8);
    std::string narrow = ToAnsiCodePage(wide);
    if (!narrow.empty() || wide.empty())
        return narrow;
    const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length != 0) {
        std::wstring shortName(length, L'\0');
        const DWORD written = GetShortPathNameW(wide.c_str(), shortName.data(), length);
        shortName.resize(written);
        narrow = ToAnsiCodePage(shortName);
        if (!narrow.empty())
            return narrow;
    }
    return Utf8ToAnsi(utf8); // unreadable as such: the read then gives the fallback
}

} // namespace

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& fallback) {
    char buffer[2048];
    const DWORD length = GetPrivateProfileStringA(
        Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), Utf8ToAnsi(fallback).c_str(), buffer,
        sizeof buffer, AnsiFileName(fileName).c_str());
    return AnsiToUtf8(std::string_view(buffer, length));
}

} // namespace tk
