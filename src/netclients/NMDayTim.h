// TNMDayTime: the Daytime protocol client (RFC 867, TCP 13).
#pragma once

#include "platform/Psock.h"

#include <string>

class TNMDayTime : public tk::TPowersock {
public:
    explicit TNMDayTime(tk::TComponent* owner); // Port 13, TimeOut 500
    // One query; the reply's bytes unchanged. Raises on failure.
    std::string DayTimeText();
};
