// Winsock for the Windows backend.
#include "platform/Sockets.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace tk {

bool SocketsStartup() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SocketHandle OpenTcpSocket() {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return InvalidSocket;
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    return static_cast<SocketHandle>(s);
}

int StartConnect(SocketHandle s, std::uint32_t addressNetOrder, std::uint16_t portNetOrder) {
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = portNetOrder;
    remote.sin_addr.s_addr = addressNetOrder;
    if (::connect(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&remote),
                  sizeof remote) == 0)
        return 0;
    int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK ? 0 : error;
}

int Receive(SocketHandle s, char* buffer, int size, int& error) {
    int n = ::recv(static_cast<SOCKET>(s), buffer, size, 0);
    if (n != SOCKET_ERROR) {
        error = 0;
        return n;
    }
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK)
        error = 0;
    return -1;
}

int CloseSocket(SocketHandle s) {
    return ::closesocket(static_cast<SOCKET>(s)) == 0 ? 0 : WSAGetLastError();
}

std::string SocketErrorText(int error) {
    const char* description = nullptr;
    switch (error) {
    case WSAECONNREFUSED:
        description = "Connexion refusée";
        break;
    case WSAECONNRESET:
        description = "Connexion réinitialisée par l'hôte distant";
        break;
    case WSAECONNABORTED:
        description = "Connexion interrompue";
        break;
    case WSAETIMEDOUT:
        description = "Délai de connexion dépassé";
        break;
    case WSAENETUNREACH:
        description = "Réseau inaccessible";
        break;
    case WSAEHOSTUNREACH:
        description = "Hôte inaccessible";
        break;
    case WSAENETDOWN:
        description = "Le réseau est hors service";
        break;
    case WSAENOTSOCK:
        description = "Descripteur de socket incorrect";
        break;
    case WSAENOTCONN:
        description = "Le socket n'est pas connecté";
        break;
    case WSAEISCONN:
        description = "Le socket est déjà connecté";
        break;
    case WSAEADDRNOTAVAIL:
        description = "Adresse non disponible";
        break;
    case WSAEINTR:
        description = "Appel interrompu";
        break;
    case WSANOTINITIALISED:
        description = "Windows Sockets n'a pas été initialisé";
        break;
    case WSAEWOULDBLOCK:
        description = "L'opération bloquerait";
        break;
    case WSAEINPROGRESS:
        description = "Une opération bloquante est en cours";
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
    rc = WSAHOST_NOT_FOUND;
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
