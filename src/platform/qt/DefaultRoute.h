// Linux's stand-in for the dial-up service's "connected" answer: a default route exists.
#pragma once

#include <string_view>

namespace tk::qt {

// True when the kernel's IPv4 table (the text of /proc/net/route) or IPv6 table (the text of
// /proc/net/ipv6_route) holds a usable default route: up, not a reject route.
bool HasDefaultRoute(std::string_view ipv4Table, std::string_view ipv6Table);

} // namespace tk::qt
