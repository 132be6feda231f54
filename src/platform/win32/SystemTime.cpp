// The system clock on Windows, and the taskbar's notice that the time changed.
#include "platform/SystemTime.h"

#include <windows.h>

namespace tk {

namespace {

SYSTEMTIME FromNative(const ::SYSTEMTIME& t) {
    return {t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
            t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

::SYSTEMTIME ToNative(const SYSTEMTIME& t) {
    ::SYSTEMTIME native{};
    native.wYear = t.wYear;
    native.wMonth = t.wMonth;
    native.wDayOfWeek = t.wDayOfWeek;
    native.wDay = t.wDay;
    native.wHour = t.wHour;
    native.wMinute = t.wMinute;
    native.wSecond = t.wSecond;
    native.wMilliseconds = t.wMilliseconds;
    return native;
}

} // namespace

void GetSystemTime(SYSTEMTIME& utc) {
    ::SYSTEMTIME now;
    ::GetSystemTime(&now);
    utc = FromNative(now);
}

// The only place where Pendulix.exe changes the computer's real clock. Windows refuses it
// without the right to change the system time (error 1314), and so do the tests' sandbox
// and Wine.
bool SetSystemTime(const SYSTEMTIME& utc) {
    const ::SYSTEMTIME native = ToNative(utc);
    return ::SetSystemTime(&native) != FALSE;
}

void NotifyTaskbarTimeChange() {
    // Without a taskbar the message goes nowhere; neither call's result matters.
    SendMessageA(FindWindowA("Shell_TrayWnd", nullptr), WM_TIMECHANGE, 0, 0);
}

} // namespace tk
