// Times of day in the long time format, under five locale pictures and four pairs of markers.
// Input: a byte for the picture, one for the markers, four for a second of the day, then any
// text. The second's text is the one the picture asks for and reads back as the same value;
// the text either is refused with EConvertError or reads as a whole second of the day, whose
// own text reads back the same.
#include "platform/DateTime.h"
#include "platform/SysUtils.h"
#include "support/Check.h"
#include "support/Reference.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const char* const Pictures[] = {"HH:mm:ss", "H:mm:ss", "h:mm:ss tt", "tt h:mm:ss", "HH.mm.ss"};
constexpr std::size_t PictureCount = sizeof Pictures / sizeof Pictures[0];

struct Markers {
    const char* am;
    const char* pm;
};
const Markers MarkerPairs[] = {{"AM", "PM"}, {"am", "pm"}, {"a.m.", "p.m."}, {"午前", "午後"}};
constexpr std::size_t MarkerPairCount = sizeof MarkerPairs / sizeof MarkerPairs[0];

// The text each picture gives, spelled out.
std::string Expected(std::size_t picture, int h, int m, int s, const tk::TFormatSettings& fs) {
    using fuzzref::TwoDigits;
    const std::string marker = h < 12 ? fs.TimeAMString : fs.TimePMString;
    const std::string h12 = std::to_string(h % 12 == 0 ? 12 : h % 12);
    switch (picture) {
    case 0:
        return TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
    case 1:
        return std::to_string(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
    case 2:
        return h12 + ":" + TwoDigits(m) + ":" + TwoDigits(s) + " " + marker;
    case 3:
        return marker + " " + h12 + ":" + TwoDigits(m) + ":" + TwoDigits(s);
    default:
        return TwoDigits(h) + "." + TwoDigits(m) + "." + TwoDigits(s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    const std::size_t picture = data[0] % PictureCount;
    const Markers& markers = MarkerPairs[data[1] % MarkerPairCount];
    tk::TFormatSettings fs;
    fs.LongTimeFormat = Pictures[picture];
    fs.TimeAMString = markers.am;
    fs.TimePMString = markers.pm;

    const std::uint32_t count =
        static_cast<std::uint32_t>(data[2]) << 24 | data[3] << 16 | data[4] << 8 | data[5];
    const int second = static_cast<int>(count % 86400);
    const int h = second / 3600, m = second / 60 % 60, s = second % 60;
    const tk::TDateTime t =
        tk::EncodeTime(static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(m),
                       static_cast<std::uint16_t>(s), 0);
    const std::string shown = tk::TimeToStr(t, fs);
    FUZZ_CHECK(shown == Expected(picture, h, m, s, fs));
    FUZZ_CHECK(tk::StrToTime(shown, fs) == t);
    FUZZ_CHECK(tk::StrToTime(" " + shown + "\t", fs) == t);

    const std::string text(reinterpret_cast<const char*>(data) + 6, size - 6);
    tk::TDateTime value = 0;
    try {
        value = tk::StrToTime(text, fs);
    } catch (const tk::EConvertError& e) {
        FUZZ_CHECK(e.Message == "'" + text + "' n'est pas une heure correcte");
        return 0;
    }
    FUZZ_CHECK(value >= 0 && value < 1);
    std::uint16_t vh = 0, vm = 0, vs = 0, vms = 0;
    tk::DecodeTime(value, vh, vm, vs, vms);
    FUZZ_CHECK(vms == 0);
    FUZZ_CHECK(tk::EncodeTime(vh, vm, vs, 0) == value);
    FUZZ_CHECK(tk::StrToTime(tk::TimeToStr(value, fs), fs) == value);
    FUZZ_CHECK(tk::StrToTime(" " + text + " ", fs) == value);
    return 0;
}
