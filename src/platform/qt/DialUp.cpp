// The dial-up services on Linux. There is no system dial-up service to call: the machine is
// connected when it has a default route, dialling always fails (the run then ends silently,
// as when dialling fails on Windows), and hanging up has nothing to do.
#include "platform/DialUp.h"
#include "platform/qt/DefaultRoute.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tk {

namespace qt {

namespace {

constexpr unsigned long kRouteUp = 0x0001;     // RTF_UP
constexpr unsigned long kRouteReject = 0x0200; // RTF_REJECT: an "unreachable" entry

std::vector<std::string> Fields(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

bool AllZero(const std::string& hex) {
    return hex.find_first_not_of('0') == std::string::npos;
}

bool Usable(const std::string& hexFlags) {
    unsigned long flags = 0;
    try {
        flags = std::stoul(hexFlags, nullptr, 16);
    } catch (...) {
        return false;
    }
    return (flags & kRouteUp) != 0 && (flags & kRouteReject) == 0;
}

template <class F> bool AnyLine(std::string_view table, F&& isDefault) {
    while (!table.empty()) {
        const auto end = table.find('\n');
        const auto line = table.substr(0, end);
        if (isDefault(Fields(line)))
            return true;
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    }
    return false;
}

std::string ReadTable(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

bool HasDefaultRoute(std::string_view ipv4Table, std::string_view ipv6Table) {
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ... (a heading line first)
    const bool ipv4 = AnyLine(ipv4Table, [](const std::vector<std::string>& f) {
        return f.size() >= 8 && f[1] == "00000000" && f[7] == "00000000" && Usable(f[3]);
    });
    // Destination PrefixLength Source SourceLength NextHop Metric RefCnt Use Flags Device
    const bool ipv6 = AnyLine(ipv6Table, [](const std::vector<std::string>& f) {
        return f.size() >= 10 && f[0].size() == 32 && AllZero(f[0]) && f[1] == "00" && Usable(f[8]);
    });
    return ipv4 || ipv6;
}

} // namespace qt

inline constexpr std::uint32_t kConnectionLan = 0x02;     // INTERNET_CONNECTION_LAN
inline constexpr std::uint32_t kConnectionOffline = 0x20; // INTERNET_CONNECTION_OFFLINE

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t /*reserved*/) {
    const bool connected = qt::HasDefaultRoute(qt::ReadTable("/proc/net/route"),
                                               qt::ReadTable("/proc/net/ipv6_route"));
    flags = connected ? kConnectionLan : kConnectionOffline;
    return connected;
}

bool InternetAutodial(std::uint32_t /*flags*/, std::uintptr_t /*parentWindow*/) {
    return false;
}

bool InternetAutodialHangup(std::uint32_t /*reserved*/) {
    return true;
}

} // namespace tk
