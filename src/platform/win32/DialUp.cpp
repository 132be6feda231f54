// The system's dial-up services over WinInet.
#include "platform/DialUp.h" // before <wininet.h>, whose macros share the header's names

#include <windows.h>

#include <wininet.h>

namespace tk {

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved) {
    DWORD description = 0;
    const BOOL connected = ::InternetGetConnectedState(&description, reserved);
    flags = description;
    return connected != FALSE;
}

bool InternetAutodial(std::uint32_t flags, std::uintptr_t parentWindow) {
    return ::InternetAutodial(flags, reinterpret_cast<HWND>(parentWindow)) != FALSE;
}

bool InternetAutodialHangup(std::uint32_t reserved) {
    return ::InternetAutodialHangup(reserved) != FALSE;
}

} // namespace tk
