// TPowersock: a TCP client socket whose notifications, time limit and name lookups arrive as
// messages of the application's loop. The protocol clients (netclients/) derive from it.
#pragma once

#include "platform/Classes.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

// The socket component's failures, with their French texts.
class ESockError : public Exception {
public:
    using Exception::Exception;
};

using THandlerEvent = std::function<void(bool& Handled)>;
using TOnHostResolved = std::function<void(TComponent* Sender)>;
using TOnStatus = std::function<void(TComponent* Sender, const std::string& Status)>;

class TPowersock : public TComponent {
public:
    // ESockError "L'initialisation des sockets Windows a échoué" when the socket layer cannot
    // be prepared.
    explicit TPowersock(TComponent* owner);
    ~TPowersock() override;

    std::string Host;            // host name or dotted IPv4 address
    std::int32_t Port = 0;       // its low 16 bits are used
    std::int32_t TimeOut = 0;    // milliseconds
    std::int32_t ReportLevel = 0;

    THandlerEvent OnInvalidHost;
    TOnHostResolved OnHostResolved;
    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    TOnStatus OnStatus;
    TNotifyEvent OnConnectionFailed;
};

} // namespace tk
