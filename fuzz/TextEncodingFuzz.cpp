// Windows-1252 <-> UTF-8 on any bytes: every file byte survives the trip through the program's
// strings, the UTF-8 side is always well formed, and a malformed UTF-8 text loses no ASCII.
#include "platform/SysUtils.h"
#include "support/Check.h"
#include "support/Reference.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

// The 256 code points the code page's bytes stand for, checked once to be 256 distinct ones.
struct CodePage {
    std::array<char32_t, 256> ofByte{};
    std::map<char32_t, char> byteOf;
};

const CodePage& TheCodePage() {
    static const CodePage page = [] {
        CodePage p;
        for (int b = 0; b < 256; ++b) {
            const std::string one = tk::AnsiToUtf8(std::string(1, static_cast<char>(b)));
            std::size_t length = 0;
            const auto c = fuzzref::DecodeOne(one, length);
            FUZZ_CHECK(c && length == one.size());
            FUZZ_CHECK(b >= 0x80 || *c == static_cast<char32_t>(b));
            p.ofByte[static_cast<std::size_t>(b)] = *c;
            p.byteOf[*c] = static_cast<char>(b);
        }
        FUZZ_CHECK(p.byteOf.size() == 256);
        return p;
    }();
    return page;
}

std::string AsciiOtherThanQuestionMark(const std::string& s) {
    std::string out;
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x80 && c != '?')
            out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CodePage& page = TheCodePage();

    // The bytes as a file's text.
    const std::string utf8 = tk::AnsiToUtf8(bytes);
    FUZZ_CHECK(fuzzref::IsValidUtf8(utf8));
    FUZZ_CHECK(tk::Utf8ToAnsi(utf8) == bytes);
    std::string_view rest = utf8;
    for (const char b : bytes) {
        std::size_t length = 0;
        const auto c = fuzzref::DecodeOne(rest, length);
        FUZZ_CHECK(c && *c == page.ofByte[static_cast<unsigned char>(b)]);
        rest.remove_prefix(length);
    }
    FUZZ_CHECK(rest.empty());

    // The bytes as a program string on its way to a file.
    const std::string ansi = tk::Utf8ToAnsi(bytes);
    FUZZ_CHECK(ansi.size() <= bytes.size());
    FUZZ_CHECK(AsciiOtherThanQuestionMark(ansi) == AsciiOtherThanQuestionMark(bytes));
    if (fuzzref::IsValidUtf8(bytes)) {
        std::string expected;
        std::string_view text = bytes;
        while (!text.empty()) {
            std::size_t length = 0;
            const char32_t c = *fuzzref::DecodeOne(text, length);
            const auto found = page.byteOf.find(c);
            expected += found != page.byteOf.end() ? found->second : '?';
            text.remove_prefix(length);
        }
        FUZZ_CHECK(ansi == expected);
    }
    return 0;
}
