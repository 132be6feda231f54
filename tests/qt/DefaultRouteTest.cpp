// The "connected" stand-in: a usable default route in the kernel's tables, as /proc shows them.
#include "platform/qt/DefaultRoute.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const char* const kIpv4Heading =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const char* const kIpv4Default = "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
const char* const kIpv4Subnet = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
const char* const kIpv4DefaultDown = "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n";
// What every network namespace has: an "unreachable" default on lo, and the loopback host.
const char* const kIpv6Loopback =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n"
    "00000000000000000000000000000001 80 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 00000000 00000002 00000000 80200001       lo\n";
const char* const kIpv6Default =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";

struct RouteCase {
    const char* name;
    std::string ipv4;
    std::string ipv6;
    bool connected;
};

// Test names show the row's name, not its bytes.
void PrintTo(const RouteCase& c, std::ostream* os) {
    *os << c.name;
}

const RouteCase routeCases[] = {
    {"Ipv4Default", std::string(kIpv4Heading) + kIpv4Default + kIpv4Subnet, kIpv6Loopback, true},
    {"OnlyLoopback", kIpv4Heading, kIpv6Loopback, false},
    {"SubnetWithoutDefault", std::string(kIpv4Heading) + kIpv4Subnet, kIpv6Loopback, false},
    {"Ipv4DefaultNotUp", std::string(kIpv4Heading) + kIpv4DefaultDown, kIpv6Loopback, false},
    {"Ipv6DefaultOnly", kIpv4Heading, std::string(kIpv6Loopback) + kIpv6Default, true},
    {"NoTables", "", "", false},
    {"Garbage", "00000000 00000000 zz\n\n", "not a table", false},
};

class DefaultRoute : public testing::TestWithParam<RouteCase> {};

TEST_P(DefaultRoute, MeansConnected) {
    const RouteCase& c = GetParam();
    EXPECT_EQ(tk::qt::HasDefaultRoute(c.ipv4, c.ipv6), c.connected);
}

INSTANTIATE_TEST_SUITE_P(ProcNet, DefaultRoute, testing::ValuesIn(routeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
