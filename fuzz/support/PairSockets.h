// Sockets for fuzzing the protocol clients without a network: each socket is one end of a
// local socket pair, and a connection "to the server" finds the scripted reply already sent
// from the other end, which is then closed. Stands in for the BSD sockets of the fake backend
// (it defines every function of platform/Sockets.h).
#pragma once

#include <string>

namespace fuzzsock {

// The reply the next connection receives, in one piece, before the server closes. A
// connection with nothing scripted receives nothing.
void ScriptReply(std::string bytes);

// Sockets still open, both ends counted: a query must not leave any behind beyond the one
// each component keeps ready.
int OpenEnds();

} // namespace fuzzsock
