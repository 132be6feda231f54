// TNMDayTime: asks a Daytime server (RFC 867) for its reply, kept byte for byte.
#include "netclients/NMDayTim.h"

#include "netclients/Query.h"

namespace {
constexpr std::int32_t DaytimePort = 13;
constexpr std::int32_t DefaultTimeOut = 500; // ms
} // namespace

TNMDayTime::TNMDayTime(tk::TComponent* owner) : TPowersock(owner) {
    Port = DaytimePort;
    TimeOut = DefaultTimeOut;
}

std::string TNMDayTime::DayTimeText() {
    return netclients::QueryServer(*this, netclients::TAnswerRule::DaytimeText);
}
