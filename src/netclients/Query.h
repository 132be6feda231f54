// The one query both protocol clients make, and its failures: resolve the server, connect,
// wait for the answer, take it, disconnect. It drives the socket component through its
// operations; only the rule that says when an answer is whole differs between the protocols.
#pragma once

#include "platform/Psock.h"

#include <cstddef>
#include <string>

namespace netclients {

inline constexpr const char* AlreadyConnectedText = "Déjà connecté";
inline constexpr const char* NoRemoteAddressText = "Adresse distante nulle";
inline constexpr const char* ConnectTimeoutText = "La connexion a dépassé le temps imparti";
inline constexpr const char* NoAnswerText = "Le serveur n'a pas répondu dans le temps imparti";
inline constexpr const char* BadAnswerText = "Réponse incorrecte du serveur de temps";

// The longest answer a query takes.
inline constexpr std::size_t MaxAnswerBytes = 65535;

enum class TAnswerRule {
    // Four bytes: whole as soon as four have arrived; fewer before the server closes (or the
    // wait's end), or more in one piece, is a bad answer.
    TimeCount,
    // Text: whole when the server closes; at the wait's end, whatever has arrived.
    DaytimeText,
};

// One complete query on `socket` (Host, Port, TimeOut as set). Each wait lasts at most TimeOut
// ms, counted afresh for the name lookup, the connection and the answer. Raises:
// tk::ESockError "Déjà connecté", "Adresse distante nulle" (after at most one retry that
// OnInvalidHost asks for), the lookup's time-out or cancellation;
// tk::Exception "La connexion a dépassé le temps imparti" (the attempt is abandoned first),
// "Le serveur n'a pas répondu dans le temps imparti" (not one byte in time), "Réponse incorrecte du
// serveur de temps" (an answer the rule refuses, or more than MaxAnswerBytes).
std::string QueryServer(tk::TPowersock& socket, TAnswerRule rule);

} // namespace netclients
