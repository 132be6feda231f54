// The fake backend's message loop: one poll() over the watched sockets and a self-pipe for work
// posted from other threads, with one-shot timers on the steady clock. Socket readiness is turned
// into notifications shaped like WSAAsyncSelect's, so the socket component sees the same order of
// events as under Windows.
#include "platform/MessageLoop.h"
#include "platform/fake/Loop.h"
#include "platform/posix/Connecting.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tk {

namespace {

using Clock = std::chrono::steady_clock;

// What a watched socket can still report: nothing before a connection is started (poll() calls
// a fresh socket hung up), the connection's outcome, then data and the peer's close.
enum class Phase { Idle, Connecting, Open, Done };

struct Watch {
    SocketHandler handler;
    Phase phase = Phase::Idle;
    unsigned generation = 0;
};

struct Timer {
    TimerId id;
    Clock::time_point due;
    std::function<void()> onElapsed;
};

struct Loop {
    Loop() {
        if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0)
            wake[0] = wake[1] = -1;
    }
    std::vector<Timer> timers;
    TimerId nextTimer = 1;
    std::map<SocketHandle, Watch> watches;
    unsigned nextGeneration = 1;
    int wake[2];
    std::mutex postedMutex;
    std::deque<std::function<void()>> posted;
};

// Never destroyed: a name lookup's worker thread may still post while the process exits.
Loop& TheLoop() {
    static Loop* loop = new Loop;
    return *loop;
}

short PollEventsFor(Phase phase) {
    switch (phase) {
    case Phase::Connecting:
        return POLLOUT;
    case Phase::Open:
        return POLLIN;
    default:
        return 0;
    }
}

// Callbacks run from the loop, as from a window procedure: a failure cannot go further.
template <class F> void RunGuarded(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

struct Ready {
    SocketHandle socket;
    unsigned generation;
    short revents;
};

std::vector<Ready> PollSockets(std::vector<pollfd>& fds, int timeoutMs) {
    auto& loop = TheLoop();
    std::vector<std::pair<SocketHandle, unsigned>> polled;
    for (const auto& [socket, watch] : loop.watches) {
        if (short events = PollEventsFor(watch.phase)) {
            fds.push_back({static_cast<int>(socket), events, 0});
            polled.emplace_back(socket, watch.generation);
        }
    }
    std::vector<Ready> ready;
    if (::poll(fds.data(), fds.size(), timeoutMs) <= 0)
        return ready;
    std::size_t first = fds.size() - polled.size();
    for (std::size_t i = 0; i < polled.size(); ++i) {
        if (short revents = fds[first + i].revents)
            ready.push_back({polled[i].first, polled[i].second, revents});
    }
    return ready;
}

void Notify(SocketHandle socket, unsigned generation, SocketEvent event, int error) {
    auto& loop = TheLoop();
    auto it = loop.watches.find(socket);
    if (it == loop.watches.end() || it->second.generation != generation)
        return;
    SocketHandler handler = it->second.handler; // the handler may unwatch its own socket
    RunGuarded([&] { handler(event, error); });
}

Phase* PhaseOf(SocketHandle socket, unsigned generation) {
    auto& loop = TheLoop();
    auto it = loop.watches.find(socket);
    if (it == loop.watches.end() || it->second.generation != generation)
        return nullptr;
    return &it->second.phase;
}

// One readiness report becomes at most two notifications, as Winsock would post them. As with
// Winsock, Read comes again while data is left after the handler; so a handler must receive.
bool DispatchSocket(const Ready& r) {
    Phase* phase = PhaseOf(r.socket, r.generation);
    if (phase == nullptr)
        return false;
    int fd = static_cast<int>(r.socket);
    if (*phase == Phase::Connecting) {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            error = errno;
        *phase = error == 0 ? Phase::Open : Phase::Done;
        Notify(r.socket, r.generation, SocketEvent::Connect, error);
        if (error == 0)
            Notify(r.socket, r.generation, SocketEvent::Write, 0);
        return true;
    }
    if (*phase != Phase::Open)
        return false;
    char probe;
    ssize_t n = ::recv(fd, &probe, 1, MSG_PEEK);
    if (n > 0) {
        Notify(r.socket, r.generation, SocketEvent::Read, 0);
        return true;
    }
    int error = n == 0 ? 0 : errno;
    if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK)) {
        if ((r.revents & (POLLHUP | POLLERR)) == 0)
            return false;
        error = 0;
    }
    *phase = Phase::Done;
    Notify(r.socket, r.generation, SocketEvent::Close, error);
    return true;
}

bool DispatchPosted() {
    auto& loop = TheLoop();
    char drain[64];
    while (::read(loop.wake[0], drain, sizeof drain) > 0) {
    }
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(loop.postedMutex);
        work.swap(loop.posted);
    }
    for (auto& w : work)
        RunGuarded(w);
    return !work.empty();
}

bool DispatchTimers() {
    auto& loop = TheLoop();
    auto now = Clock::now();
    std::vector<std::pair<Clock::time_point, TimerId>> due;
    for (const auto& t : loop.timers) {
        if (t.due <= now)
            due.emplace_back(t.due, t.id);
    }
    std::sort(due.begin(), due.end());
    bool any = false;
    for (const auto& [when, id] : due) {
        auto it = std::find_if(loop.timers.begin(), loop.timers.end(),
                               [id = id](const Timer& t) { return t.id == id; });
        if (it == loop.timers.end())
            continue; // stopped by an earlier callback
        auto onElapsed = std::move(it->onElapsed);
        loop.timers.erase(it);
        RunGuarded(onElapsed);
        any = true;
    }
    return any;
}

} // namespace

TimerId StartTimer(unsigned ms, std::function<void()> onElapsed) {
    auto& loop = TheLoop();
    TimerId id = loop.nextTimer++;
    loop.timers.push_back({id, Clock::now() + std::chrono::milliseconds(ms), std::move(onElapsed)});
    return id;
}

void StopTimer(TimerId id) {
    auto& timers = TheLoop().timers;
    std::erase_if(timers, [id](const Timer& t) { return t.id == id; });
}

void WatchSocket(SocketHandle s, SocketHandler handler) {
    auto& loop = TheLoop();
    loop.watches[s] = Watch{std::move(handler), Phase::Idle, loop.nextGeneration++};
}

void UnwatchSocket(SocketHandle s) {
    TheLoop().watches.erase(s);
}

void PostToLoop(std::function<void()> work) {
    auto& loop = TheLoop();
    {
        std::lock_guard lock(loop.postedMutex);
        loop.posted.push_back(std::move(work));
    }
    char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t n = ::write(loop.wake[1], &byte, 1);
}

namespace posix {
void ConnectStarted(SocketHandle s) {
    auto& watches = TheLoop().watches;
    if (auto it = watches.find(s); it != watches.end())
        it->second.phase = Phase::Connecting;
}
} // namespace posix

namespace fake {

void DispatchPendingMessages() {
    for (;;) {
        bool any = DispatchPosted();
        any = DispatchTimers() || any;
        std::vector<pollfd> fds;
        for (const Ready& r : PollSockets(fds, 0))
            any = DispatchSocket(r) || any;
        if (!any)
            return;
    }
}

void WaitForMessage() {
    auto& loop = TheLoop();
    {
        std::lock_guard lock(loop.postedMutex);
        if (!loop.posted.empty())
            return;
    }
    int timeoutMs = -1;
    if (!loop.timers.empty()) {
        auto next = std::min_element(loop.timers.begin(), loop.timers.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(next->due - Clock::now());
        if (wait.count() <= 0)
            return;
        timeoutMs = static_cast<int>(std::min<long long>(wait.count(), 1 << 30));
    }
    std::vector<pollfd> fds{{loop.wake[0], POLLIN, 0}};
    PollSockets(fds, timeoutMs);
}

} // namespace fake

} // namespace tk
