// Socket pairs standing in for TCP connections (see PairSockets.h).
#include "support/PairSockets.h"

#include "platform/Sockets.h"
#include "platform/posix/Connecting.h"
#include "support/Check.h"

#include <cerrno>
#include <deque>
#include <map>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::deque<std::string>& Replies() {
    static std::deque<std::string> replies;
    return replies;
}

// The component's end -> the server's end, while the server's end is open.
std::map<tk::SocketHandle, int>& Peers() {
    static std::map<tk::SocketHandle, int> peers;
    return peers;
}

int& OpenCount() {
    static int count = 0;
    return count;
}

void ClosePeer(tk::SocketHandle s) {
    const auto it = Peers().find(s);
    if (it == Peers().end())
        return;
    ::close(it->second);
    --OpenCount();
    Peers().erase(it);
}

} // namespace

namespace fuzzsock {

void ScriptReply(std::string bytes) {
    Replies().push_back(std::move(bytes));
}

int OpenEnds() {
    return OpenCount();
}

} // namespace fuzzsock

namespace tk {

bool SocketsStartup() {
    return true;
}

SocketHandle OpenTcpSocket() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return InvalidSocket;
    Peers()[ends[0]] = ends[1];
    OpenCount() += 2;
    return ends[0];
}

int StartConnect(SocketHandle s, std::uint32_t, std::uint16_t) {
    const auto it = Peers().find(s);
    FUZZ_CHECK(it != Peers().end());
    std::string reply;
    if (!Replies().empty()) {
        reply = std::move(Replies().front());
        Replies().pop_front();
    }
    // The pair's buffer holds far more than the longest answer a query takes.
    const ssize_t sent = reply.empty() ? 0 : ::send(it->second, reply.data(), reply.size(), 0);
    FUZZ_CHECK(sent == static_cast<ssize_t>(reply.size()));
    ClosePeer(s);
    posix::ConnectStarted(s);
    return 0;
}

int Receive(SocketHandle s, char* buffer, int size, int& error) {
    const ssize_t n = ::recv(static_cast<int>(s), buffer, static_cast<std::size_t>(size), 0);
    if (n >= 0) {
        error = 0;
        return static_cast<int>(n);
    }
    error = errno == EAGAIN || errno == EWOULDBLOCK ? 0 : errno;
    return -1;
}

int CloseSocket(SocketHandle s) {
    ClosePeer(s);
    --OpenCount();
    return ::close(static_cast<int>(s)) == 0 ? 0 : errno;
}

std::string SocketErrorText(int error) {
    return "No. d'erreur inconnu " + std::to_string(error);
}

int LookupHostIPv4(const std::string&, std::uint32_t&) {
    return EAI_NONAME;
}

} // namespace tk
