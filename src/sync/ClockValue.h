// Building the clock value a run asks for, from the clock reading and the server's answer.
#pragma once

#include "platform/SystemTime.h"

#include <cstdint>

// `before` with its time of day replaced, on whichever of its day, the day before or the day
// after puts the result nearest to `before` (so they lie within 12 hours; the same day on a
// tie). Milliseconds 0; the day of week follows the date.
tk::SYSTEMTIME NearestWithTimeOfDay(const tk::SYSTEMTIME& before, std::uint16_t hour,
                                    std::uint16_t minute, std::uint16_t second);

// The day of week (0 = Sunday) of a date that exists.
std::uint16_t DayOfWeek(std::uint16_t year, std::uint16_t month, std::uint16_t day);
