// The few socket calls the socket component makes, per backend: Winsock on Windows, BSD
// sockets elsewhere. IPv4 and TCP only. Addresses and ports as numbers in network byte order.
#pragma once

#include <cstdint>
#include <string>

namespace tk {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle InvalidSocket = -1;

// Prepares the socket layer once per process (WSAStartup). False when it cannot.
bool SocketsStartup();
// A new non-blocking IPv4 TCP socket, or InvalidSocket.
SocketHandle OpenTcpSocket();
// Starts a connection; its outcome arrives as a Connect notification (MessageLoop.h).
// Returns 0 (started), or the system's error number when the call fails at once.
int StartConnect(SocketHandle s, std::uint32_t addressNetOrder, std::uint16_t portNetOrder);
// Reads what is waiting: the number of bytes (> 0); 0 when the peer has closed; -1 when
// nothing is waiting or on error, with `error` set (0 for nothing waiting).
int Receive(SocketHandle s, char* buffer, int size, int& error);
// Closes the socket: 0, or the system's error number.
int CloseSocket(SocketHandle s);
// "<number>: <description>" for a system socket error, or "No. d'erreur inconnu <number>".
std::string SocketErrorText(int error);
// Blocking IPv4 name lookup (getaddrinfo), meant for a worker thread: 0 and the first
// address, or the resolver's error number.
int LookupHostIPv4(const std::string& host, std::uint32_t& addressNetOrder);

} // namespace tk
