// A profile reader that gives what the Windows one gives (GetPrivateProfileStringA,
// 2048-byte buffer), odd files included. Its rules were checked one by one against the system's
// reader under Wine (tests/win32/ProfileOracleTest.cpp).
#include "platform/IniFiles.h"

#include "platform/SysUtils.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace tk {

namespace {

// The system's reader works on UTF-16 text; so does this one, so that lengths count alike.
using Text = std::u16string;
using TextView = std::u16string_view;

constexpr std::size_t kBufferSize = 2048;

Text Utf8ToText(std::string_view utf8) {
    Text out;
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    while (i < utf8.size()) {
        const unsigned char lead = byte(i);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            c = lead;
        } else {
            const std::size_t want = (lead & 0xE0) == 0xC0   ? 2
                                     : (lead & 0xF0) == 0xE0 ? 3
                                     : (lead & 0xF8) == 0xF0 ? 4
                                                             : 0;
            if (want != 0 && i + want <= utf8.size()) {
                char32_t v = lead & (0x7F >> want);
                bool good = true;
                for (std::size_t k = 1; k < want && good; ++k) {
                    good = (byte(i + k) & 0xC0) == 0x80;
                    v = (v << 6) | (byte(i + k) & 0x3F);
                }
                const char32_t least = want == 2 ? 0x80 : want == 3 ? 0x800 : 0x10000;
                if (good && v >= least && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
                    c = v;
                    length = want;
                }
            }
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += length;
    }
    return out;
}

Text AnsiToText(std::string_view cp1252) {
    return Utf8ToText(AnsiToUtf8(cp1252));
}

// Back to Windows-1252 as the A function hands it out: a character the code page lacks is "?".
std::string TextToAnsi(TextView text) {
    std::string utf8;
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            utf8 += '?';
        } else if (unit < 0x800) {
            utf8 += static_cast<char>(0xC0 | (unit >> 6));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (unit >> 12));
            utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return Utf8ToAnsi(utf8);
}

// Names and values are C strings in the system's reader: a NUL ends them.
TextView UpToNul(TextView s) {
    return s.substr(0, s.find(u'\0'));
}

// Only the ASCII blanks count, and DOS's end-of-file mark; a no-break space is kept.
bool IsSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A;
}

TextView TrimSpaces(TextView s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names match regardless of case for ASCII letters only: "É" and "é" are different names.
char16_t Fold(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
}

bool SameName(TextView a, TextView b) {
    a = UpToNul(a);
    b = UpToNul(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

struct Key {
    Text name;
    std::optional<Text> value; // none for a line without "="
};
struct Section {
    Text name;
    std::vector<Key> keys;
};

Text Decode(const std::string& bytes) {
    const std::string_view all(bytes);
    if (all.substr(0, 3) == "\xEF\xBB\xBF")
        return Utf8ToText(all.substr(3));
    if (all.size() >= 2 && (all.substr(0, 2) == "\xFF\xFE" || all.substr(0, 2) == "\xFE\xFF")) {
        const bool little = all[0] == '\xFF';
        Text out;
        for (std::size_t i = 2; i + 1 < all.size(); i += 2) {
            const auto a = static_cast<unsigned char>(all[i]);
            const auto b = static_cast<unsigned char>(all[i + 1]);
            out += static_cast<char16_t>(little ? a | (b << 8) : (a << 8) | b);
        }
        return out;
    }
    return AnsiToText(all);
}

// Keys before the first section header belong to a section without a name.
std::vector<Section> Parse(TextView text) {
    std::vector<Section> sections(1);
    const Key* previous = nullptr;
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t start = next;
        while (next < text.size() && text[next] != u'\n' && text[next] != u'\r')
            ++next;
        const TextView line = TrimSpaces(text.substr(start, next - start));
        while (next < text.size() && (text[next] == u'\n' || text[next] == u'\r'))
            ++next;
        if (line.empty())
            continue;
        if (line.front() == u'[') {
            const std::size_t close = line.rfind(u']');
            if (close != TextView::npos) {
                sections.push_back(Section{Text(TrimSpaces(line.substr(1, close - 1))), {}});
                previous = nullptr;
                continue;
            }
        }
        Key key;
        const std::size_t equals = line.find(u'=');
        std::size_t nameLength = line.size();
        if (equals != TextView::npos) {
            TextView name = line.substr(0, equals);
            while (name.size() > 1 && IsSpace(name.back()))
                name.remove_suffix(1);
            nameLength = name.size();
            TextView value = line.substr(equals + 1);
            while (!value.empty() && IsSpace(value.front()))
                value.remove_prefix(1);
            key.value = Text(value);
        }
        key.name = Text(line.substr(0, nameLength));
        // Runs of nameless lines are kept as one key.
        if (nameLength != 0 || previous == nullptr || !UpToNul(previous->name).empty()) {
            sections.back().keys.push_back(std::move(key));
            previous = &sections.back().keys.back();
        }
    }
    return sections;
}

// Only the first section of that name is searched, and the first key of that name wins.
const Key* Find(const std::vector<Section>& sections, TextView section, TextView key) {
    for (const Section& s : sections) {
        if (!SameName(s.name, section))
            continue;
        for (const Key& k : s.keys)
            if (SameName(k.name, key))
                return &k;
        return nullptr;
    }
    return nullptr;
}

// At most kBufferSize - 1 characters; one pair of matching quotes around the value is removed
// unless the value had to be cut.
Text CopyEntry(TextView value, bool stripQuotes) {
    value = UpToNul(value);
    bool quoted = false;
    if (stripQuotes && value.size() >= 2 && (value.front() == u'\'' || value.front() == u'"') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    Text out(value.substr(0, kBufferSize - 1));
    if (quoted && kBufferSize >= value.size())
        out.pop_back();
    return out;
}

// The fallback loses its trailing spaces (all but a first one).
Text TrimFallback(Text fallback) {
    while (fallback.size() > 1 && fallback.back() == u' ')
        fallback.pop_back();
    return fallback;
}

enum class FileState { Readable, Absent, Unusable };

FileState Open(const std::string& fileName, std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path path(std::u8string(fileName.begin(), fileName.end()));
    std::error_code error;
    const auto status = fs::status(path, error);
    if (fs::is_regular_file(status)) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return FileState::Unusable;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return FileState::Readable;
    }
    if (status.type() != fs::file_type::not_found)
        return FileState::Unusable;
    // A missing file in an existing folder reads as an empty profile; a missing folder fails.
    const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return fs::is_directory(parent, error) ? FileState::Absent : FileState::Unusable;
}

std::string CStr(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

} // namespace

std::string PortableProfileString(const std::string& fileName, const std::string& section,
                                  const std::string& key, const std::string& fallback) {
    // The A function sees every string in the ANSI code page.
    const Text sectionText = AnsiToText(Utf8ToAnsi(CStr(section)));
    const Text keyText = AnsiToText(Utf8ToAnsi(CStr(key)));
    const Text fallbackText = TrimFallback(AnsiToText(Utf8ToAnsi(CStr(fallback))));

    std::string bytes;
    Text result;
    switch (Open(CStr(fileName), bytes)) {
    case FileState::Unusable:
        result = CopyEntry(fallbackText, false);
        break;
    case FileState::Absent:
        result = CopyEntry(fallbackText, true);
        break;
    case FileState::Readable: {
        const Text text = Decode(bytes);
        const std::vector<Section> sections = Parse(text);
        const Key* found = Find(sections, TrimSpaces(sectionText), TrimSpaces(keyText));
        result = CopyEntry(found != nullptr && found->value ? TextView(*found->value)
                                                            : TextView(fallbackText),
                           true);
        break;
    }
    }
    return AnsiToUtf8(TextToAnsi(result));
}

} // namespace tk
