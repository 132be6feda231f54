// Second readings of the value rule, of UTF-8 and of the calendar, for the fuzz targets.
#include "support/Reference.h"

#include <cstdio>

namespace fuzzref {

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

struct Split {
    bool negative = false;
    int base = 10;
    std::string_view digits;
};

std::optional<Split> SplitNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    Split s;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        s.base = 16;
        text.remove_prefix(2);
    } else if (text.front() == '$' || text.front() == 'x' || text.front() == 'X') {
        s.base = 16;
        text.remove_prefix(1);
    } else if (text.front() == '+' || text.front() == '-') {
        s.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (const char c : text)
        if (DigitValue(c, s.base) < 0)
            return std::nullopt;
    s.digits = text;
    return s;
}

} // namespace

std::optional<std::int32_t> Value(std::string_view text) {
    const auto s = SplitNumber(text);
    if (!s)
        return std::nullopt;
    std::string_view digits = s->digits;
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    // Ten decimal or eight hex significant digits already exceed 32 bits' reach.
    if (digits.size() > (s->base == 10 ? 10u : 8u))
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : digits)
        magnitude = magnitude * static_cast<std::uint64_t>(s->base) +
                    static_cast<std::uint64_t>(DigitValue(c, s->base));
    const std::uint64_t limit = s->negative ? 2147483648ULL : 2147483647ULL;
    if (magnitude > limit)
        return std::nullopt;
    const std::int64_t v =
        s->negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(v);
}

bool IsDecimal(std::string_view text) {
    const auto s = SplitNumber(text);
    return s && s->base == 10;
}

std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& length) {
    if (text.empty())
        return std::nullopt;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = b(0);
    char32_t c = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if (b(i) < 0x80 || b(i) > 0xBF)
            return std::nullopt;
        c = c << 6 | (b(i) & 0x3Fu);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return c;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        std::size_t length = 0;
        if (!DecodeOne(text, length))
            return false;
        text.remove_prefix(length);
    }
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace fuzzref
