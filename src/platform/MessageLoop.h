// Services of the GUI thread's message loop used by components: one-shot timers, socket
// notifications and work posted from other threads. Every callback runs on the GUI thread,
// from Application->ProcessMessages(), in the order the messages arrived. backend
#pragma once

#include "platform/Sockets.h"

#include <cstdint>
#include <functional>

namespace tk {

using TimerId = std::uintptr_t; // 0: no timer

// Starts a one-shot timer of `ms` milliseconds, counted from this call; `onElapsed` runs once
// when it elapses (only while messages are processed). Returns 0 when the system refuses one.
TimerId StartTimer(unsigned ms, std::function<void()> onElapsed);
// Cancels a timer; harmless for one that already elapsed.
void StopTimer(TimerId id);

enum class SocketEvent { Connect, Read, Write, Close };
// `error` is 0 or the system's error number carried by the notification.
using SocketHandler = std::function<void(SocketEvent event, int error)>;

// Asks for notifications as WSAAsyncSelect(FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) gives
// them: Connect once with a connection's outcome; Write once it can send; Read when data
// waits (again after a Receive that leaves data behind); Close once when the peer has closed,
// after Read has announced the data before it.
void WatchSocket(SocketHandle s, SocketHandler handler);
// Stops the notifications of a socket; call it before closing the socket.
void UnwatchSocket(SocketHandle s);

// Thread-safe: `work` runs on the GUI thread from the loop.
void PostToLoop(std::function<void()> work);

} // namespace tk
