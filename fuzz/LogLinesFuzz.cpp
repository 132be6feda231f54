// The log file's bytes as lines and back. Every stretch of the file between line ends is a
// line, byte for byte (NUL included); the text written back reads as the same lines; writing
// them again gives the same bytes.
#include "platform/Classes.h"
#include "platform/SysUtils.h"
#include "support/Check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The file cut at CR LF, a lone CR and a lone LF; the last stretch counts only when not empty.
std::vector<std::string> Stretches(std::string_view bytes) {
    std::vector<std::string> out;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        out.push_back(current);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = Stretches(bytes);

    tk::TStringList list;
    list.Add("left over");
    list.SetText(bytes);
    FUZZ_CHECK(list.Count() == expected.size());
    std::string written;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        FUZZ_CHECK(list[i] == tk::AnsiToUtf8(expected[i]));
        FUZZ_CHECK(list[i].find_first_of("\r\n") == std::string::npos);
        written += expected[i] + "\r\n";
    }

    const std::string text = list.Text();
    FUZZ_CHECK(text == written);
    tk::TStringList again;
    again.SetText(text);
    FUZZ_CHECK(again.Lines() == list.Lines());
    FUZZ_CHECK(again.Text() == text);
    return 0;
}
