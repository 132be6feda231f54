// The Linux clock: read in UTC, its setting refused in the sandbox, dial-up stand-ins, and
// local time by the C library's zone rules across a daylight-saving change.
#include "platform/SystemTime.h"
#include "platform/DialUp.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using namespace std::chrono;

TEST(QtClock, ReadsTheSystemClockInUtc) {
    const auto before = floor<milliseconds>(system_clock::now());
    tk::SYSTEMTIME now{};
    tk::GetSystemTime(now);
    const auto after = floor<milliseconds>(system_clock::now());
    const tk::ClockInstant read = tk::InstantOf(now);
    EXPECT_LE(before, read);
    EXPECT_GE(after, read);
    EXPECT_EQ(now.wDayOfWeek, weekday{floor<days>(read)}.c_encoding());
}

TEST(QtDialUp, DialsNeverAndHangsUpHarmlessly) {
    EXPECT_FALSE(tk::InternetAutodial(tk::INTERNET_AUTODIAL_FORCE_UNATTENDED, 0));
    EXPECT_TRUE(tk::InternetAutodialHangup(0));
    std::uint32_t flags = 0;
    const bool connected = tk::InternetGetConnectedState(flags, 0);
    EXPECT_EQ(flags, connected ? 0x02u : 0x20u);
}

class ZoneRules : public testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ"))
            saved_ = tz;
        // Central European rules written out, so that no zone database is needed.
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", saved_.c_str(), 1);
        tzset();
    }

private:
    std::string saved_;
};

struct LocalCase {
    const char* name;
    tk::SYSTEMTIME utc;
    tk::SYSTEMTIME local;
};

// Test names show the row's name, not its bytes.
void PrintTo(const LocalCase& c, std::ostream* os) {
    *os << c.name;
}

const LocalCase localCases[] = {
    {"Winter", {2024, 1, 1, 15, 12, 0, 0, 250}, {2024, 1, 1, 15, 13, 0, 0, 250}},
    {"Summer", {2024, 7, 1, 1, 12, 0, 0, 0}, {2024, 7, 1, 1, 14, 0, 0, 0}},
    {"LastSecondBeforeSpringChange",
     {2024, 3, 0, 31, 0, 59, 59, 999},
     {2024, 3, 0, 31, 1, 59, 59, 999}},
    {"SpringChange", {2024, 3, 0, 31, 1, 0, 0, 0}, {2024, 3, 0, 31, 3, 0, 0, 0}},
    {"YearEndCrossesMidnight", {2024, 12, 2, 31, 23, 30, 0, 0}, {2025, 1, 3, 1, 0, 30, 0, 0}},
    {"LeapDay", {2024, 2, 3, 28, 23, 0, 0, 0}, {2024, 2, 4, 29, 0, 0, 0, 0}},
};

class LocalTime : public ZoneRules, public testing::WithParamInterface<LocalCase> {};

TEST_P(LocalTime, FollowsTheZoneRulesOfThatDate) {
    const LocalCase& c = GetParam();
    tk::SYSTEMTIME local{};
    tk::UtcToLocalSystemTime(c.utc, local);
    EXPECT_EQ(tk::InstantOf(local), tk::InstantOf(c.local));
    EXPECT_EQ(local.wDayOfWeek, c.local.wDayOfWeek);
}

INSTANTIATE_TEST_SUITE_P(CentralEurope, LocalTime, testing::ValuesIn(localCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
