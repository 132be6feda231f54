// Second readings of the rules the fuzz targets check, written from the rules as the headers
// state them rather than from the code under test, so that the two can disagree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fuzzref {

// The integer value rule: leading spaces, then "+"/"-" and decimal digits, or "$", "x", "X",
// "0x", "0X" and hex digits; nothing else; the value within signed 32 bits.
std::optional<std::int32_t> Value(std::string_view text);

// True when the text is plain decimal under that rule (no hex mark).
bool IsDecimal(std::string_view text);

// One code point of strict UTF-8 (no overlong forms, no surrogates, at most U+10FFFF), or
// nothing when `text` does not start with one; `length` is then its byte count.
std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& length);
bool IsValidUtf8(std::string_view text);

// Days in a month of the proleptic Gregorian calendar.
int DaysInMonth(int year, int month);

// A clock field as the pictures "HH", "mm", "ss" write it: at least two digits.
std::string TwoDigits(int value);

} // namespace fuzzref
