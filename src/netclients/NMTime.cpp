// TNMTime: asks a Time server (RFC 868) for its count of seconds.
#include "netclients/NMTime.h"

#include "netclients/Query.h"
#include "netclients/TimeAnswer.h"
#include "platform/DateTime.h"

namespace {
constexpr std::int32_t TimePort = 37;
constexpr std::int32_t DefaultTimeOut = 500; // ms
} // namespace

TNMTime::TNMTime(tk::TComponent* owner) : TPowersock(owner) {
    Port = TimePort;
    TimeOut = DefaultTimeOut;
}

std::string TNMTime::TimeStr() {
    std::string answer = netclients::QueryServer(*this, netclients::TAnswerRule::TimeCount);
    return tk::TimeToStr(netclients::TimeOfDayValue(netclients::DecodeTimeAnswer(answer)));
}

std::int32_t TNMTime::TimeInt() {
    std::string answer = netclients::QueryServer(*this, netclients::TAnswerRule::TimeCount);
    return netclients::TimeIntValue(netclients::DecodeTimeAnswer(answer));
}
