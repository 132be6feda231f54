// The system's dial-up services (WinInet on Windows), under their Windows names. Each call
// returns when the service has finished.
#pragma once

#include <cstdint>

namespace tk {

inline constexpr std::uint32_t INTERNET_AUTODIAL_FORCE_UNATTENDED = 2;

// True when the system reports an Internet connection; `flags` receives its description.
bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved);
// Dials the default connection: true when the connection is up. `parentWindow` owns any
// window the service shows.
bool InternetAutodial(std::uint32_t flags, std::uintptr_t parentWindow);
// Hangs up a connection that InternetAutodial made.
bool InternetAutodialHangup(std::uint32_t reserved);

} // namespace tk
