// The Time answer's conversions on any bytes: only four bytes are an answer; their count is
// the big-endian value; the time of day shown is the count's seconds past midnight (a count
// below 2^31 lying after the 2036 wrap), and TimeInt is the count's bits as a signed number.
// Each group of four input bytes is also taken as an answer of its own, so that one input
// tries many counts.
#include "netclients/Query.h"
#include "netclients/TimeAnswer.h"
#include "platform/DateTime.h"
#include "platform/SysUtils.h"
#include "support/Check.h"
#include "support/Reference.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void CheckAnswer(const std::uint8_t* four) {
    const std::string_view answer(reinterpret_cast<const char*>(four), 4);
    const std::uint32_t count = netclients::DecodeTimeAnswer(answer);
    std::uint64_t bigEndian = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bigEndian = bigEndian * 256 + four[i];
    FUZZ_CHECK(count == bigEndian);

    const std::uint64_t seconds = netclients::SecondsSince1900(count);
    const std::uint64_t expectedSeconds =
        bigEndian >= 2147483648ULL ? bigEndian : bigEndian + 4294967296ULL;
    FUZZ_CHECK(seconds == expectedSeconds);

    const int ofDay = static_cast<int>(expectedSeconds % 86400);
    const tk::TDateTime value = netclients::TimeOfDayValue(count);
    std::uint16_t h = 0, m = 0, s = 0, ms = 0;
    tk::DecodeTime(value, h, m, s, ms);
    FUZZ_CHECK(h * 3600 + m * 60 + s == ofDay && ms == 0);
    tk::TFormatSettings fs;
    fs.LongTimeFormat = "HH:mm:ss";
    FUZZ_CHECK(tk::TimeToStr(value, fs) == fuzzref::TwoDigits(ofDay / 3600) + ":" +
                                               fuzzref::TwoDigits(ofDay / 60 % 60) + ":" +
                                               fuzzref::TwoDigits(ofDay % 60));

    const std::int64_t signedCount = bigEndian >= 2147483648ULL
                                         ? static_cast<std::int64_t>(bigEndian) - 4294967296LL
                                         : static_cast<std::int64_t>(bigEndian);
    FUZZ_CHECK(netclients::TimeIntValue(count) == signedCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        netclients::DecodeTimeAnswer(std::string_view(reinterpret_cast<const char*>(data), size));
        FUZZ_CHECK(size == 4);
    } catch (const tk::Exception& e) {
        FUZZ_CHECK(size != 4);
        FUZZ_CHECK(e.Message == netclients::BadAnswerText);
    }
    for (std::size_t at = 0; at + 4 <= size; at += 4)
        CheckAnswer(data + at);
    return 0;
}
