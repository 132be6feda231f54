// The run's dealings with the Internet connection: dialling when there is none, hanging up
// at the end on request.
#pragma once

#include <cstdint>

// True when the system reports an Internet connection.
bool IsConnected();
// The connection stage: true when a connection exists or was dialled (unattended with
// AutoConnect; `window` owns whatever the dialling service shows); false: the run ends.
bool EnsureConnection(bool AutoConnect, std::uintptr_t window);
// The hang-up stage: asks first with AskDisconnect, hangs up at once with AutoDisconnect.
void DisconnectIfWanted(bool AskDisconnect, bool AutoDisconnect);
