// The integer value rule on any text: TryStrToInt, StrToInt and StrToIntDef agree with a second
// reading of the rule, and what they accept comes back the same through its decimal text.
#include "platform/SysUtils.h"
#include "support/Check.h"
#include "support/Reference.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The decimal text as to_string would write the value it stands for: blanks, "+" and leading
// zeros gone, and no "-" before zero.
std::string CanonicalDecimal(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.erase(0, 1);
    }
    text.erase(0, text.find_first_not_of('0'));
    if (text.empty())
        return "0";
    return negative ? "-" + text : text;
}

std::string Hex(std::int32_t value, const char* mark, const char* format) {
    char digits[16];
    std::snprintf(digits, sizeof digits, format, static_cast<unsigned>(value));
    return mark + std::string(digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto expected = fuzzref::Value(text);

    std::int32_t value = 0;
    const bool converted = tk::TryStrToInt(text, value);
    FUZZ_CHECK(converted == expected.has_value());
    if (converted)
        FUZZ_CHECK(value == *expected);

    FUZZ_CHECK(tk::StrToIntDef(text, 17) == (converted ? value : 17));
    FUZZ_CHECK(tk::StrToIntDef(text, -4) == (converted ? value : -4));
    try {
        FUZZ_CHECK(tk::StrToInt(text) == value);
        FUZZ_CHECK(converted);
    } catch (const tk::EConvertError& e) {
        FUZZ_CHECK(!converted);
        FUZZ_CHECK(e.Message == "'" + text + "' n'est pas une valeur entière correcte");
    }

    // Only spaces lead; nothing may follow the digits.
    std::int32_t other = 0;
    FUZZ_CHECK(tk::TryStrToInt("   " + text, other) == converted);
    if (converted)
        FUZZ_CHECK(other == value);
    FUZZ_CHECK(!tk::TryStrToInt(text + " ", other));
    FUZZ_CHECK(!tk::TryStrToInt("\t" + text, other));

    if (!converted)
        return 0;
    FUZZ_CHECK(tk::TryStrToInt(std::to_string(value), other) && other == value);
    if (fuzzref::IsDecimal(text))
        FUZZ_CHECK(std::to_string(value) == CanonicalDecimal(text));
    if (value >= 0) {
        FUZZ_CHECK(tk::TryStrToInt(Hex(value, "$", "%X"), other) && other == value);
        FUZZ_CHECK(tk::TryStrToInt(Hex(value, "0x", "%x"), other) && other == value);
    } else {
        // Hex is never negative: the same bits read as hex are out of range.
        FUZZ_CHECK(!tk::TryStrToInt(Hex(value, "$", "%X"), other));
    }
    return 0;
}
