// The query shared by TNMTime and TNMDayTime.
#include "netclients/Query.h"

#include <cstdint>

namespace netclients {

namespace {

constexpr std::size_t TimeAnswerBytes = 4;

void Resolve(tk::TPowersock& socket) {
    int retries = 0;
    for (;;) {
        try {
            socket.ResolveRemoteHost();
        } catch (const tk::ESockError& e) {
            // A time-out or a cancellation is told as it is; a failed lookup becomes "no
            // address", which the handler below may still mend.
            if (e.Message == "Temps imparti pour Recherche d'hôte dépassé" ||
                e.Message == "La recherche d'hôte a été annulée")
                throw;
        }
        if (socket.RemoteAddress() != 0)
            return;
        if (retries > 0 || !socket.OnInvalidHost)
            throw tk::ESockError(NoRemoteAddressText);
        bool handled = false;
        socket.OnInvalidHost(handled);
        if (!handled)
            throw tk::ESockError(NoRemoteAddressText);
        ++retries;
    }
}

void Connect(tk::TPowersock& socket) {
    socket.StatusMessage(tk::StatusStep, "Connexion");
    socket.FillRemoteSockAddr();
    socket.ClearNotificationOk();
    socket.StartTimeLimit();
    socket.StartConnection(); // a call that fails at once ends at the time limit, as a refusal
    // A notification with an error (a refusal) does not end the wait: only success or time does.
    tk::TPowersock::ProcessMessagesUntil(
        [&] { return socket.NotificationOk() || socket.TimedOut(); });
    socket.StopTimeLimit();
    if (socket.TimedOut()) {
        // Left standing, the attempt could still connect and hand its bytes to the next query.
        socket.AbandonConnection();
        throw tk::Exception(ConnectTimeoutText);
    }
}

bool AnswerWhole(const tk::TPowersock& socket, TAnswerRule rule) {
    std::size_t held = socket.BufferedBytes();
    if (held > MaxAnswerBytes)
        return true;
    if (rule == TAnswerRule::TimeCount && held >= TimeAnswerBytes)
        return true;
    // A server that has closed has said all it will.
    return !socket.Connected();
}

std::string ReceiveAnswer(tk::TPowersock& socket, TAnswerRule rule) {
    socket.StartTimeLimit();
    tk::TPowersock::ProcessMessagesUntil(
        [&] { return AnswerWhole(socket, rule) || socket.TimedOut(); });
    socket.StopTimeLimit();
    // Taken even when refused: nothing of this answer may reach a later query.
    std::string answer = socket.TakeBuffer();
    if (answer.empty())
        throw tk::Exception(socket.TimedOut() ? NoAnswerText : BadAnswerText);
    if (answer.size() > MaxAnswerBytes ||
        (rule == TAnswerRule::TimeCount && answer.size() != TimeAnswerBytes))
        throw tk::Exception(BadAnswerText);
    return answer;
}

} // namespace

std::string QueryServer(tk::TPowersock& socket, TAnswerRule rule) {
    socket.ClearCancel();
    if (socket.Connected())
        throw tk::ESockError(AlreadyConnectedText);
    Resolve(socket);
    Connect(socket);
    std::string answer;
    try {
        answer = ReceiveAnswer(socket, rule);
    } catch (...) {
        // The connection goes however the query ends; the first failure is the one told.
        try {
            socket.Disconnect();
        } catch (...) {
        }
        throw;
    }
    socket.Disconnect();
    return answer;
}

} // namespace netclients
