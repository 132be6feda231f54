// TNMTime: the Time protocol client (RFC 868, TCP 37).
#pragma once

#include "platform/Psock.h"

#include <cstdint>
#include <string>

class TNMTime : public tk::TPowersock {
public:
    explicit TNMTime(tk::TComponent* owner); // Port 37, TimeOut 500
    // One query each; they raise on failure.
    std::string TimeStr();  // the server's time of day (UTC) in the long time format
    std::int32_t TimeInt(); // the answer's four bytes, big-endian
};
