// The Time protocol's answer (RFC 868): seconds since 1900-01-01 00:00 UTC as an unsigned
// 32-bit big-endian count, and what the client makes of it.
#pragma once

#include "platform/DateTime.h"

#include <cstdint>
#include <string_view>

namespace netclients {

// Seconds from 1900-01-01 to 1970-01-01 (UTC): the Time epoch against the Unix one.
inline constexpr std::uint64_t SecondsFrom1900To1970 = 2208988800ULL;
// The count wraps at 2^32 s, on 2036-02-07 06:28:16 UTC.
inline constexpr std::uint64_t CountWrap = 1ULL << 32;
// Counts below this are read as lying after the wrap: 2^31 s after 1900 is 1968-01-20
// 03:14:08 UTC, long before any server answered this client.
inline constexpr std::uint32_t EarliestUnwrappedCount = 1U << 31;

// The four bytes, big-endian. Exception "Réponse incorrecte du serveur de temps" for any
// other length.
std::uint32_t DecodeTimeAnswer(std::string_view answer);

// Seconds since 1900-01-01 00:00 UTC that `count` stands for, the 2036 wrap allowed for.
std::uint64_t SecondsSince1900(std::uint32_t count);

// The count as days since 1900-01-01 00:00 UTC; its fraction is the UTC time of day, which is
// all a TimeToStr of it shows.
tk::TDateTime TimeOfDayValue(std::uint32_t count);

// The raw count as a signed 32-bit integer (negative from 1968-01-20 03:14:08 UTC on).
std::int32_t TimeIntValue(std::uint32_t count);

} // namespace netclients
