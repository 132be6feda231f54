// The system clock. The clock record is always UTC.
#pragma once

#include <chrono>
#include <cstdint>

namespace tk {

// The system's clock record, field for field as Windows has it.
struct SYSTEMTIME {
    std::uint16_t wYear;
    std::uint16_t wMonth;     // 1-12
    std::uint16_t wDayOfWeek; // 0 = Sunday
    std::uint16_t wDay;       // 1-31
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

// A clock record as a point in time to the millisecond, and back (the day of week follows
// the date). The record must hold a date that exists.
using ClockInstant = std::chrono::sys_time<std::chrono::milliseconds>;
ClockInstant InstantOf(const SYSTEMTIME& t);
SYSTEMTIME SystemTimeAt(ClockInstant instant);

// Reads the system clock, UTC, to the millisecond.
void GetSystemTime(SYSTEMTIME& utc);

// The one function of the program that changes the real clock (win32 and qt backends only;
// the fake backend records the value). Sets the clock to `utc`. Returns false when the system
// refuses, typically for lack of the right to change the system time.
bool SetSystemTime(const SYSTEMTIME& utc);

// Tells the shell that the time changed: on Windows FindWindowA("Shell_TrayWnd") and
// SendMessageA(WM_TIMECHANGE, 0, 0), results not examined; nothing where the desktop's
// clock follows the kernel's.
void NotifyTaskbarTimeChange();

// The local time of a UTC clock record, by the system's time-zone rules: on Windows the offset
// in force now (FileTimeToLocalFileTime), elsewhere the C library's local time for that date.
void UtcToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local);

} // namespace tk
