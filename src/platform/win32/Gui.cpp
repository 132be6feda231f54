// Helpers shared by the Win32 forms and message dialogs.
#include "platform/win32/Gui.h"

#include "platform/win32/Resources.h"

namespace tk::gui {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

int ScreenDpi() {
    // The process is system-DPI aware (manifest), so the value holds for its whole life.
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
        return value > 0 ? value : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

int Scale(int pixelsAt96) {
    return MulDiv(pixelsAt96, ScreenDpi(), USER_DEFAULT_SCREEN_DPI);
}

HFONT CreatePointFont(const std::string& name, int points) {
    // A negative height asks for the character height, as point sizes are defined.
    return CreateFontW(-MulDiv(points, ScreenDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, Widen(name).c_str());
}

RECT WorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

void CenterOnWorkArea(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const RECT area = WorkArea();
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON MainIcon(int size) {
    auto* icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PENDULIX),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
    return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

const wchar_t* FormClassName() {
    return L"PendulixForm";
}

bool WantsDialogKeys(HWND topLevel) {
    wchar_t name[32] = {};
    if (GetClassNameW(topLevel, name, 32) == 0)
        return false;
    return lstrcmpW(name, FormClassName()) == 0 || lstrcmpW(name, L"#32770") == 0;
}

} // namespace tk::gui
