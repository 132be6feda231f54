// The qt backend's message loop services over Qt's event loop: one-shot timers as QObject
// timers, socket readiness through QSocketNotifier turned into notifications shaped like
// WSAAsyncSelect's, and work from other threads as queued calls. Everything is dispatched by
// QCoreApplication::processEvents, from TApplication or from a dialog's own loop.
#include "platform/MessageLoop.h"
#include "platform/posix/Connecting.h"
#include "platform/qt/Runtime.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimerEvent>

#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace tk {

namespace {

// Callbacks run from the loop, as from a window procedure: a failure cannot go further.
template <class F> void RunGuarded(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

// What a watched socket can still report: nothing before a connection is started (a fresh
// socket polls as hung up), the connection's outcome, then data and the peer's close.
enum class Phase { Idle, Connecting, Open, Done };

struct Watch {
    SocketHandler handler;
    Phase phase = Phase::Idle;
    unsigned generation = 0;
    std::unique_ptr<QSocketNotifier> readable;
    std::unique_ptr<QSocketNotifier> writable;
};

class LoopObject : public QObject {
public:
    std::map<int, std::function<void()>> timers;

protected:
    void timerEvent(QTimerEvent* event) override {
        const int id = event->timerId();
        killTimer(id); // one-shot
        auto it = timers.find(id);
        if (it == timers.end())
            return;
        auto onElapsed = std::move(it->second);
        timers.erase(it);
        RunGuarded(onElapsed);
    }
};

struct Loop {
    std::unique_ptr<LoopObject> object;
    std::map<SocketHandle, Watch> watches;
    unsigned nextGeneration = 1;
    // Unwatched notifiers wait here: one may be the sender whose signal is being handled.
    std::vector<std::unique_ptr<QSocketNotifier>> retired;
    int dispatching = 0;
    // Guards `object` against name-lookup threads that post before it exists.
    std::mutex postMutex;
};

// Never destroyed: a name lookup's worker thread may still post while the process exits.
Loop& TheLoop() {
    static Loop* loop = new Loop;
    return *loop;
}

Watch* WatchOf(SocketHandle socket, unsigned generation) {
    auto& watches = TheLoop().watches;
    auto it = watches.find(socket);
    if (it == watches.end() || it->second.generation != generation)
        return nullptr;
    return &it->second;
}

void Notify(SocketHandle socket, unsigned generation, SocketEvent event, int error) {
    Watch* watch = WatchOf(socket, generation);
    if (watch == nullptr)
        return;
    SocketHandler handler = watch->handler; // the handler may unwatch its own socket
    auto& loop = TheLoop();
    ++loop.dispatching;
    RunGuarded([&] { handler(event, error); });
    --loop.dispatching;
}

void OnWritable(SocketHandle socket, unsigned generation) {
    Watch* watch = WatchOf(socket, generation);
    if (watch == nullptr || watch->phase != Phase::Connecting)
        return;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    watch->writable->setEnabled(false);
    watch->phase = error == 0 ? Phase::Open : Phase::Done;
    watch->readable->setEnabled(error == 0);
    Notify(socket, generation, SocketEvent::Connect, error);
    if (error == 0)
        Notify(socket, generation, SocketEvent::Write, 0);
}

void OnReadable(SocketHandle socket, unsigned generation) {
    Watch* watch = WatchOf(socket, generation);
    if (watch == nullptr || watch->phase != Phase::Open)
        return;
    char probe;
    const ssize_t n = ::recv(static_cast<int>(socket), &probe, 1, MSG_PEEK);
    if (n > 0) {
        // Level-triggered: announced again while data is left, as after a partial Receive.
        Notify(socket, generation, SocketEvent::Read, 0);
        return;
    }
    const int error = n == 0 ? 0 : errno;
    if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR))
        return;
    watch->phase = Phase::Done;
    watch->readable->setEnabled(false);
    Notify(socket, generation, SocketEvent::Close, error);
}

} // namespace

namespace qt {

void StartLoop() {
    auto& loop = TheLoop();
    std::lock_guard lock(loop.postMutex);
    if (!loop.object)
        loop.object = std::make_unique<LoopObject>();
}

void FreeRetiredNotifiers() {
    auto& loop = TheLoop();
    if (loop.dispatching == 0)
        loop.retired.clear();
}

} // namespace qt

TimerId StartTimer(unsigned ms, std::function<void()> onElapsed) {
    auto& loop = TheLoop();
    if (!loop.object)
        return 0;
    const int interval = ms > static_cast<unsigned>(INT_MAX) ? INT_MAX : static_cast<int>(ms);
    const int id = loop.object->startTimer(interval, Qt::PreciseTimer);
    if (id <= 0)
        return 0;
    loop.object->timers[id] = std::move(onElapsed);
    return static_cast<TimerId>(id);
}

void StopTimer(TimerId id) {
    auto& loop = TheLoop();
    if (!loop.object || id == 0 || id > static_cast<TimerId>(INT_MAX))
        return;
    const int qtId = static_cast<int>(id);
    if (loop.object->timers.erase(qtId) != 0)
        loop.object->killTimer(qtId);
}

void WatchSocket(SocketHandle s, SocketHandler handler) {
    UnwatchSocket(s);
    auto& loop = TheLoop();
    Watch watch;
    watch.handler = std::move(handler);
    watch.generation = loop.nextGeneration++;
    const auto fd = static_cast<qintptr>(s);
    watch.readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    watch.writable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    watch.readable->setEnabled(false);
    watch.writable->setEnabled(false);
    const unsigned generation = watch.generation;
    QObject::connect(watch.readable.get(), &QSocketNotifier::activated, watch.readable.get(),
                     [s, generation] { OnReadable(s, generation); });
    QObject::connect(watch.writable.get(), &QSocketNotifier::activated, watch.writable.get(),
                     [s, generation] { OnWritable(s, generation); });
    loop.watches[s] = std::move(watch);
}

void UnwatchSocket(SocketHandle s) {
    auto& loop = TheLoop();
    auto it = loop.watches.find(s);
    if (it == loop.watches.end())
        return;
    // Disabled at once: the socket is closed next and its number may come back for a new one.
    for (auto* notifier : {&it->second.readable, &it->second.writable}) {
        (*notifier)->setEnabled(false);
        loop.retired.push_back(std::move(*notifier));
    }
    loop.watches.erase(it);
}

void PostToLoop(std::function<void()> work) {
    auto& loop = TheLoop();
    std::lock_guard lock(loop.postMutex);
    if (!loop.object)
        return; // no loop yet: nobody can be waiting for the answer
    QMetaObject::invokeMethod(
        loop.object.get(), [work = std::move(work)] { RunGuarded(work); }, Qt::QueuedConnection);
}

namespace posix {
void ConnectStarted(SocketHandle s) {
    auto& watches = TheLoop().watches;
    if (auto it = watches.find(s); it != watches.end() && it->second.phase == Phase::Idle) {
        it->second.phase = Phase::Connecting;
        it->second.writable->setEnabled(true);
    }
}
} // namespace posix

} // namespace tk
