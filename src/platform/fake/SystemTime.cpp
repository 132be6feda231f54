// The fake clock: reads what the test set, records every setting, refuses on request.
#include "platform/SystemTime.h"
#include "platform/fake/Fake.h"

#include <chrono>

namespace tk {

void GetSystemTime(SYSTEMTIME& utc) {
    utc = fake::TheClock().now;
}

bool SetSystemTime(const SYSTEMTIME& utc) {
    auto& clock = fake::TheClock();
    clock.set.push_back(utc);
    fake::Journal().push_back("SetSystemTime " + fake::Describe(utc) +
                              (clock.refuse ? " refused" : ""));
    if (clock.refuse)
        return false;
    clock.now = utc;
    return true;
}

void NotifyTaskbarTimeChange() {
    ++fake::TheClock().taskbarNotices;
    fake::Journal().push_back("taskbar notified");
}

void UtcToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local) {
    local =
        SystemTimeAt(InstantOf(utc) + std::chrono::minutes{fake::TheClock().localOffsetMinutes});
}

} // namespace tk
