// BSD sockets for the backends that run on POSIX systems (fake and qt).
#include "platform/Sockets.h"
#include "platform/posix/Connecting.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tk {

bool SocketsStartup() {
    return true;
}

SocketHandle OpenTcpSocket() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    return fd < 0 ? InvalidSocket : fd;
}

int StartConnect(SocketHandle s, std::uint32_t addressNetOrder, std::uint16_t portNetOrder) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = portNetOrder;
    remote.sin_addr.s_addr = addressNetOrder;
    int rc =
        ::connect(static_cast<int>(s), reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    int error = rc == 0 || errno == EINPROGRESS ? 0 : errno;
    // A call that fails at once (as Winsock's connect can) gives no notification.
    if (error == 0)
        posix::ConnectStarted(s);
    return error;
}

int Receive(SocketHandle s, char* buffer, int size, int& error) {
    ssize_t n = ::recv(static_cast<int>(s), buffer, static_cast<std::size_t>(size), 0);
    if (n >= 0) {
        error = 0;
        return static_cast<int>(n);
    }
    error = errno == EAGAIN || errno == EWOULDBLOCK ? 0 : errno;
    return -1;
}

int CloseSocket(SocketHandle s) {
    return ::close(static_cast<int>(s)) == 0 ? 0 : errno;
}

std::string SocketErrorText(int error) {
    const char* description = nullptr;
    switch (error) {
    case ECONNREFUSED:
        description = "Connexion refusée";
        break;
    case ECONNRESET:
        description = "Connexion réinitialisée par l'hôte distant";
        break;
    case ECONNABORTED:
        description = "Connexion interrompue";
        break;
    case ETIMEDOUT:
        description = "Délai de connexion dépassé";
        break;
    case ENETUNREACH:
        description = "Réseau inaccessible";
        break;
    case EHOSTUNREACH:
        description = "Hôte inaccessible";
        break;
    case ENETDOWN:
        description = "Le réseau est hors service";
        break;
    case EBADF:
        description = "Descripteur de socket incorrect";
        break;
    case ENOTCONN:
        description = "Le socket n'est pas connecté";
        break;
    case EISCONN:
        description = "Le socket est déjà connecté";
        break;
    case EADDRNOTAVAIL:
        description = "Adresse non disponible";
        break;
    case EINTR:
        description = "Appel interrompu";
        break;
    case EIO:
        description = "Erreur d'entrée-sortie";
        break;
    default:
        break;
    }
    if (description == nullptr)
        return "No. d'erreur inconnu " + std::to_string(error);
    return std::to_string(error) + ": " + description;
}

int LookupHostIPv4(const std::string& host, std::uint32_t& addressNetOrder) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &answer);
    if (rc != 0)
        return rc;
    rc = EAI_NONAME;
    for (const addrinfo* a = answer; a != nullptr; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr != nullptr) {
            addressNetOrder = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            rc = 0;
            break;
        }
    }
    ::freeaddrinfo(answer);
    return rc;
}

} // namespace tk
