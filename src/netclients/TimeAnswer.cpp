// Decoding the Time protocol's four bytes.
#include "netclients/TimeAnswer.h"

#include "netclients/Query.h"
#include "platform/SysUtils.h"

namespace netclients {

namespace {
constexpr double SecondsPerDay = 86400.0;
}

std::uint32_t DecodeTimeAnswer(std::string_view answer) {
    if (answer.size() != 4)
        throw tk::Exception(BadAnswerText);
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(answer[i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

std::uint64_t SecondsSince1900(std::uint32_t count) {
    return count < EarliestUnwrappedCount ? count + CountWrap : count;
}

tk::TDateTime TimeOfDayValue(std::uint32_t count) {
    return static_cast<double>(SecondsSince1900(count)) / SecondsPerDay;
}

std::int32_t TimeIntValue(std::uint32_t count) {
    return static_cast<std::int32_t>(count);
}

} // namespace netclients
