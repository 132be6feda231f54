// Between the BSD sockets and the loop of a POSIX backend (fake, qt). poll() reports a fresh,
// unconnected TCP socket as hung up, so a loop cannot watch a socket for a connection's outcome
// before one has been started; StartConnect tells it when.
#pragma once

#include "platform/Sockets.h"

namespace tk::posix {

// Defined by each POSIX backend's loop: a connection has been started on `s`, its outcome is
// now worth watching.
void ConnectStarted(SocketHandle s);

} // namespace tk::posix
