// The system clock on Linux: the kernel's real-time clock, read and set in UTC.
#include "platform/SystemTime.h"

#include <time.h>

#include <chrono>

namespace tk {

using namespace std::chrono;

void GetSystemTime(SYSTEMTIME& utc) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto instant = ClockInstant{seconds{now.tv_sec} + milliseconds{now.tv_nsec / 1'000'000}};
    utc = SystemTimeAt(instant);
}

// The only place where pendulix changes the computer's real clock. The kernel refuses it
// (EPERM) to a process without CAP_SYS_TIME in the first user namespace: an ordinary user,
// and every process in the tests' sandbox.
bool SetSystemTime(const SYSTEMTIME& utc) {
    const auto sinceEpoch = InstantOf(utc).time_since_epoch();
    const auto whole = floor<seconds>(sinceEpoch);
    timespec value{};
    value.tv_sec = static_cast<time_t>(whole.count());
    value.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(sinceEpoch - whole).count());
    return ::clock_settime(CLOCK_REALTIME, &value) == 0;
}

// Desktop clocks follow the kernel's clock: nobody needs telling.
void NotifyTaskbarTimeChange() {}

void UtcToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local) {
    const auto sinceEpoch = InstantOf(utc).time_since_epoch();
    const auto whole = floor<seconds>(sinceEpoch);
    const time_t when = static_cast<time_t>(whole.count());
    tm fields{};
    if (::localtime_r(&when, &fields) == nullptr) {
        local = utc;
        return;
    }
    local = {static_cast<std::uint16_t>(fields.tm_year + 1900),
             static_cast<std::uint16_t>(fields.tm_mon + 1),
             static_cast<std::uint16_t>(fields.tm_wday),
             static_cast<std::uint16_t>(fields.tm_mday),
             static_cast<std::uint16_t>(fields.tm_hour),
             static_cast<std::uint16_t>(fields.tm_min),
             static_cast<std::uint16_t>(fields.tm_sec),
             static_cast<std::uint16_t>((sinceEpoch - whole).count())};
}

} // namespace tk
