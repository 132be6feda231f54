// The Win32 clock functions: the record passes field by field. The setter is never called
// here; the program tests show the system's refusal inside the sandbox.
#include "platform/SystemTime.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(SystemTime, ReadsTheSystemClockInUtcFieldByField) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        ::SYSTEMTIME before, after;
        tk::SYSTEMTIME ours{};
        ::GetSystemTime(&before);
        tk::GetSystemTime(ours);
        ::GetSystemTime(&after);
        if (before.wSecond != after.wSecond)
            continue; // a second turned over in between; read again
        EXPECT_EQ(ours.wYear, before.wYear);
        EXPECT_EQ(ours.wMonth, before.wMonth);
        EXPECT_EQ(ours.wDayOfWeek, before.wDayOfWeek);
        EXPECT_EQ(ours.wDay, before.wDay);
        EXPECT_EQ(ours.wHour, before.wHour);
        EXPECT_EQ(ours.wMinute, before.wMinute);
        EXPECT_EQ(ours.wSecond, before.wSecond);
        EXPECT_GE(ours.wMilliseconds, before.wMilliseconds);
        EXPECT_LE(ours.wMilliseconds, after.wMilliseconds);
        return;
    }
    FAIL() << "the clock kept turning over a second";
}

UINT received = 0;
WPARAM receivedW = 1;
LPARAM receivedL = 1;

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMECHANGE) {
        received = message;
        receivedW = wParam;
        receivedL = lParam;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(SystemTime, NotifiesTheTaskbarWindow) {
    WNDCLASSW trayClass{};
    trayClass.lpfnWndProc = TrayProc;
    trayClass.hInstance = GetModuleHandleW(nullptr);
    trayClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&trayClass);
    // Topmost, so that it comes before any taskbar of the desktop itself.
    HWND tray = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP,
                                0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tray, nullptr);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), tray);
    tk::NotifyTaskbarTimeChange();
    DestroyWindow(tray);
    EXPECT_EQ(received, static_cast<UINT>(WM_TIMECHANGE));
    EXPECT_EQ(receivedW, 0u);
    EXPECT_EQ(receivedL, 0);
}

} // namespace
