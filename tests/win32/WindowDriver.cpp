// Test helpers for the Win32 toolkit (see WindowDriver.h).
#include "win32/WindowDriver.h"

#include <algorithm>
#include <map>

namespace wintest {

std::wstring WideTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string TextOf(HWND window) {
    const std::wstring wide = WideTextOf(window);
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* windowClass) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiW(ClassOf(child).c_str(), windowClass) == 0)
            found.push_back(child);
    std::sort(found.begin(), found.end(),
              [](HWND a, HWND b) { return ChildRect(a).left < ChildRect(b).left; });
    return found;
}

HWND FindBox() {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

namespace {
std::map<UINT_PTR, BoxDriver*>& Drivers() {
    static std::map<UINT_PTR, BoxDriver*> drivers;
    return drivers;
}
} // namespace

BoxDriver::BoxDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
    timer_ = SetTimer(nullptr, 0, 20, &BoxDriver::Tick);
    Drivers()[timer_] = this;
}

BoxDriver::~BoxDriver() {
    KillTimer(nullptr, timer_);
    Drivers().erase(timer_);
}

void CALLBACK BoxDriver::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Drivers().find(id);
    if (found == Drivers().end())
        return;
    BoxDriver& driver = *found->second;
    if (!driver.acted_) {
        HWND box = FindBox();
        if (box == nullptr)
            return;
        driver.box_ = box;
        driver.acted_ = true;
        driver.actedAt_ = GetTickCount();
        driver.act_(box);
    } else if (IsWindow(driver.box_) && IsWindowVisible(driver.box_) &&
               GetTickCount() - driver.actedAt_ > 2000) {
        driver.forcedClosed_ = true;
        DestroyWindow(driver.box_);
    }
}

void PostKey(HWND target, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

void PostSysChar(HWND target, wchar_t letter) {
    PostMessageW(target, WM_SYSCHAR, letter, 1 | (1LL << 29)); // bit 29: Alt is down
}

} // namespace wintest
