// Test helpers for the Win32 toolkit: read window texts, and act on a modal box from inside
// its own message loop (a thread timer, dispatched by that loop) as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

std::string TextOf(HWND window);
std::wstring WideTextOf(HWND window);
std::wstring ClassOf(HWND window);
// The children of a window of one class, left to right.
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* windowClass);
// The visible message box of this thread, or nullptr.
HWND FindBox();
// Rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);

// Watches for this thread's message box; once it shows, runs `act` on it. A box still open
// two seconds after `act` is destroyed, so that a box which ignores its input fails the test
// instead of hanging it.
class BoxDriver {
public:
    explicit BoxDriver(std::function<void(HWND box)> act);
    ~BoxDriver();
    BoxDriver(const BoxDriver&) = delete;
    BoxDriver& operator=(const BoxDriver&) = delete;

    bool Acted() const { return acted_; }
    bool ForcedClosed() const { return forcedClosed_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    HWND box_ = nullptr;
    DWORD actedAt_ = 0;
    bool acted_ = false;
    bool forcedClosed_ = false;
};

// Keyboard input as the message queue would carry it to the focused control.
void PostKey(HWND target, WPARAM key);
void PostSysChar(HWND target, wchar_t letter); // Alt + letter

} // namespace wintest
