#include "support/LoopbackServer.h"

#include <chrono>

std::string TimeAnswer(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                       unsigned second) {
    using namespace std::chrono;
    constexpr std::uint64_t SecondsFrom1900To1970 = 2208988800u;
    const auto date =
        sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}};
    const auto unixSeconds = duration_cast<seconds>(date.time_since_epoch()).count() + hour * 3600 +
                             minute * 60 + second;
    const auto count = static_cast<std::uint32_t>(unixSeconds + SecondsFrom1900To1970);
    return {static_cast<char>(count >> 24), static_cast<char>(count >> 16),
            static_cast<char>(count >> 8), static_cast<char>(count)};
}
