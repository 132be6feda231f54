// The settings reader on any file: the input is "<section>\n<key>\n" followed by the file's
// bytes. What it gives fits the 2048-byte buffer, is text of the file, does not depend on the
// case of ASCII letters or the blanks around the names, and ReadInteger gives the value rule's
// reading of it or the fallback.
#include "platform/IniFiles.h"
#include "platform/SysUtils.h"
#include "support/Check.h"
#include "support/Reference.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The settings file lives in memory, under a name the reader opens like any other: a file on
// the disk would make the file system, not the reader, the bottleneck.
int SettingsFd() {
    static const int fd = ::memfd_create("Pendulix.ini", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    return fd;
}

std::string WriteSettingsFile(std::string_view bytes) {
    const int fd = SettingsFd();
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string TakeLine(std::string_view& input) {
    const std::size_t end = input.find('\n');
    const std::string line(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return line;
}

std::string SwapAsciiCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool StartsWithByteOrderMark(std::string_view file) {
    return file.starts_with("\xEF\xBB\xBF") || file.starts_with("\xFF\xFE") ||
           file.starts_with("\xFE\xFF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string section = TakeLine(input);
    const std::string key = TakeLine(input);
    const std::string name = WriteSettingsFile(input);

    // Two fallbacks no value can equal both of: the key is there exactly when they agree.
    const std::string fallbackA = "\x01"
                                  "A";
    const std::string fallbackB = "\x01"
                                  "B";
    const std::string a = tk::PortableProfileString(name, section, key, fallbackA);
    const std::string b = tk::PortableProfileString(name, section, key, fallbackB);
    const bool found = a == b;
    if (!found)
        FUZZ_CHECK(a == fallbackA && b == fallbackB);

    const std::string ansi = tk::Utf8ToAnsi(a);
    FUZZ_CHECK(ansi.size() <= 2047);
    FUZZ_CHECK(tk::AnsiToUtf8(ansi) == a);
    FUZZ_CHECK(a.find('\0') == std::string::npos);
    if (found && !StartsWithByteOrderMark(input))
        FUZZ_CHECK(input.find(ansi) != std::string_view::npos);

    FUZZ_CHECK(tk::PortableProfileString(name, SwapAsciiCase(section), SwapAsciiCase(key),
                                         fallbackA) == a);
    FUZZ_CHECK(tk::PortableProfileString(name, " \t" + section, key + " ", fallbackA) == a);

    // The settings object over the test backend reads the same way.
    const tk::TIniFile ini(name);
    FUZZ_CHECK(ini.ReadString(section, key, fallbackA) == a);
    const auto number = fuzzref::Value(tk::PortableProfileString(name, section, key, ""));
    FUZZ_CHECK(!number || found);
    FUZZ_CHECK(ini.ReadInteger(section, key, 7) == number.value_or(7));
    FUZZ_CHECK(ini.ReadInteger(section, key, -1) == number.value_or(-1));
    return 0;
}
