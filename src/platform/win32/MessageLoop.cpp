// The Windows backend's loop services: a hidden message-only window receives the socket
// notifications (WSAAsyncSelect), the timers (SetTimer) and work posted from other threads
// (PostMessage). The application's ordinary PeekMessage/DispatchMessage loop delivers them.
#include "platform/MessageLoop.h"

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <deque>
#include <map>
#include <mutex>

namespace tk {

namespace {

constexpr UINT PostedWorkMessage = WM_APP + 1;
// Each watch gets its own message number, so a notification still queued for a closed socket
// never reaches a new socket that was given the same handle.
constexpr UINT FirstSocketMessage = WM_APP + 0x100;
constexpr UINT SocketMessageCount = 0x1000;

struct Watch {
    UINT message;
    SocketHandler handler;
};

struct Loop {
    std::atomic<HWND> window{nullptr};
    std::map<UINT_PTR, std::function<void()>> timers;
    UINT_PTR nextTimer = 1;
    std::map<SocketHandle, Watch> watches;
    UINT nextMessage = 0;
    std::mutex postedMutex;
    std::deque<std::function<void()>> posted;
};

// Never destroyed: a name lookup's worker thread may still post while the process exits.
Loop& TheLoop() {
    static Loop* loop = new Loop;
    return *loop;
}

// Callbacks run inside the window procedure: a failure cannot cross the system's dispatch.
template <class F> void RunGuarded(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

void RunPostedWork() {
    auto& loop = TheLoop();
    std::function<void()> work;
    {
        std::lock_guard lock(loop.postedMutex);
        if (loop.posted.empty())
            return;
        work = std::move(loop.posted.front());
        loop.posted.pop_front();
    }
    RunGuarded(work);
}

void RunTimer(HWND window, UINT_PTR id) {
    KillTimer(window, id); // one-shot
    auto& timers = TheLoop().timers;
    auto it = timers.find(id);
    if (it == timers.end())
        return;
    auto onElapsed = std::move(it->second);
    timers.erase(it);
    RunGuarded(onElapsed);
}

void RunSocketNotification(UINT message, WPARAM socket, LPARAM select) {
    auto& watches = TheLoop().watches;
    auto it = watches.find(static_cast<SocketHandle>(socket));
    if (it == watches.end() || it->second.message != message)
        return; // for a socket no longer watched
    SocketEvent event;
    switch (WSAGETSELECTEVENT(select)) {
    case FD_CONNECT:
        event = SocketEvent::Connect;
        break;
    case FD_READ:
        event = SocketEvent::Read;
        break;
    case FD_WRITE:
        event = SocketEvent::Write;
        break;
    case FD_CLOSE:
        event = SocketEvent::Close;
        break;
    default:
        return;
    }
    SocketHandler handler = it->second.handler; // the handler may unwatch its own socket
    int error = WSAGETSELECTERROR(select);
    RunGuarded([&] { handler(event, error); });
}

LRESULT CALLBACK LoopWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PostedWorkMessage) {
        RunPostedWork();
        return 0;
    }
    if (message == WM_TIMER) {
        RunTimer(window, wParam);
        return 0;
    }
    if (message >= FirstSocketMessage && message < FirstSocketMessage + SocketMessageCount) {
        RunSocketNotification(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Made on the GUI thread by the first timer or watch, which every component asks for before
// it starts a name lookup.
HWND LoopWindow() {
    auto& loop = TheLoop();
    if (HWND window = loop.window.load())
        return window;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = LoopWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"PendulixMessageLoop";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, instance, nullptr);
    loop.window.store(window);
    std::lock_guard lock(loop.postedMutex);
    for (std::size_t i = 0; i < loop.posted.size(); ++i)
        PostMessageW(window, PostedWorkMessage, 0, 0);
    return window;
}

} // namespace

TimerId StartTimer(unsigned ms, std::function<void()> onElapsed) {
    auto& loop = TheLoop();
    HWND window = LoopWindow();
    if (window == nullptr)
        return 0;
    UINT_PTR id = loop.nextTimer++;
    if (SetTimer(window, id, ms, nullptr) == 0)
        return 0;
    loop.timers[id] = std::move(onElapsed);
    return id;
}

void StopTimer(TimerId id) {
    auto& loop = TheLoop();
    if (loop.timers.erase(id) > 0)
        KillTimer(loop.window.load(), id);
}

void WatchSocket(SocketHandle s, SocketHandler handler) {
    auto& loop = TheLoop();
    HWND window = LoopWindow();
    UINT message = FirstSocketMessage + loop.nextMessage;
    loop.nextMessage = (loop.nextMessage + 1) % SocketMessageCount;
    loop.watches[s] = Watch{message, std::move(handler)};
    WSAAsyncSelect(static_cast<SOCKET>(s), window, message,
                   FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
}

void UnwatchSocket(SocketHandle s) {
    auto& loop = TheLoop();
    if (loop.watches.erase(s) > 0)
        WSAAsyncSelect(static_cast<SOCKET>(s), loop.window.load(), 0, 0);
}

void PostToLoop(std::function<void()> work) {
    auto& loop = TheLoop();
    std::lock_guard lock(loop.postedMutex);
    loop.posted.push_back(std::move(work));
    if (HWND window = loop.window.load())
        PostMessageW(window, PostedWorkMessage, 0, 0);
}

} // namespace tk
