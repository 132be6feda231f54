// TNMTime against the fixture server: whole answers, answers in parts, wrong lengths, silence,
// refusal.
#include "netclients/NMTime.h"
#include "component/FixtureServer.h"

#include <gtest/gtest.h>

namespace component {
namespace {

using namespace std::chrono_literals;

TEST(NMTime, ConstructorSetsPort37AndTimeOut500) {
    TNMTime client(nullptr);
    EXPECT_EQ(client.Port, 37);
    EXPECT_EQ(client.TimeOut, 500);
    EXPECT_EQ(client.ReportLevel, 0);
    EXPECT_EQ(client.Host, "");
}

struct TimeCase {
    const char* name;
    const char* port;
    const char* kind; // "none" for an answer
    const char* text; // TimeStr, or the exception's text
    std::int32_t timeInt;
};
void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.name;
}

const TimeCase timeCases[] = {
    {"Normal", "TIME_NORMAL", "none", "12:34:56", -368733200},
    {"Midnight2000", "TIME_MIDNIGHT", "none", "00:00:00", -1139293696},
    {"TwoPartsWithDelay", "TIME_SPLIT", "none", "12:34:56", -368733200},
    {"AfterDelay", "TIME_SLOW", "none", "12:34:56", -368733200},
    {"FiveBytes", "TIME_EXTRA", "Exception", "Réponse incorrecte du serveur de temps", 0},
    {"TwoBytesThenClose", "TIME_SHORT", "Exception", "Réponse incorrecte du serveur de temps", 0},
    {"TwoBytesThenSilence", "TIME_SHORT_HOLD", "Exception",
     "Réponse incorrecte du serveur de temps", 0},
    {"Flood", "FLOOD", "Exception", "Réponse incorrecte du serveur de temps", 0},
    {"CloseWithoutData", "CLOSE", "Exception", "Réponse incorrecte du serveur de temps", 0},
    {"Silent", "SILENT", "Exception", "Le serveur n'a pas répondu dans le temps imparti", 0},
    {"Refused", "REFUSED", "Exception", "La connexion a dépassé le temps imparti", 0},
};

class TimeAnswers : public ComponentTest, public testing::WithParamInterface<TimeCase> {};

TEST_P(TimeAnswers, TimeStrAndTimeInt) {
    const TimeCase& c = GetParam();
    TNMTime client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = FixturePort(c.port);
    client.TimeOut = ShortTimeOut;
    bool connectionFailed = false;
    client.OnConnectionFailed = [&](tk::TObject*) { connectionFailed = true; };

    Outcome asText = Attempt([&] { return client.TimeStr(); });
    Outcome asInt = Attempt([&] { return std::to_string(client.TimeInt()); });

    EXPECT_EQ(asText.kind, c.kind);
    EXPECT_EQ(asInt.kind, c.kind);
    if (std::string(c.kind) == "none") {
        EXPECT_EQ(asText.value, c.text);
        EXPECT_EQ(asInt.value, std::to_string(c.timeInt));
    } else {
        EXPECT_EQ(asText.message, c.text);
        EXPECT_EQ(asInt.message, c.text);
    }
    EXPECT_FALSE(connectionFailed);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.BufferedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Fixture, TimeAnswers, testing::ValuesIn(timeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComponentTest, TimeStrFollowsATwelveHourFormat) {
    tk::FormatSettings.LongTimeFormat = "h:mm:ss tt";
    TNMTime client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = FixturePort("TIME_NORMAL");
    EXPECT_EQ(client.TimeStr(), "12:34:56 PM");
    client.Port = FixturePort("TIME_MIDNIGHT");
    EXPECT_EQ(client.TimeStr(), "12:00:00 AM");
}

// Each wait is bounded by TimeOut, counted afresh: a refusal is only noticed at the time limit,
// and a silent server is given the whole limit again once connected.
TEST_F(ComponentTest, WaitsLastTheirTimeLimit) {
    TNMTime client(nullptr);
    client.Host = "127.0.0.1";
    client.TimeOut = ShortTimeOut;

    client.Port = FixturePort("REFUSED");
    Outcome refused = Attempt([&] { return client.TimeStr(); });
    EXPECT_EQ(refused.message, "La connexion a dépassé le temps imparti");
    EXPECT_GE(refused.elapsed, std::chrono::milliseconds(ShortTimeOut));

    client.Port = FixturePort("SILENT");
    Outcome silent = Attempt([&] { return client.TimeStr(); });
    EXPECT_EQ(silent.message, "Le serveur n'a pas répondu dans le temps imparti");
    EXPECT_GE(silent.elapsed, std::chrono::milliseconds(ShortTimeOut));

    // Neither is left hanging for long: well under the suite's own time-out.
    EXPECT_LT(refused.elapsed, 10s);
    EXPECT_LT(silent.elapsed, 10s);
}

TEST_F(ComponentTest, ClientStaysUsableAfterEachFailure) {
    TNMTime client(nullptr);
    client.Host = "127.0.0.1";
    client.TimeOut = ShortTimeOut;
    for (const char* failing : {"REFUSED", "SILENT", "TIME_EXTRA", "CLOSE"}) {
        client.Port = FixturePort(failing);
        EXPECT_EQ(Attempt([&] { return client.TimeStr(); }).kind, "Exception") << failing;
        client.Port = FixturePort("TIME_NORMAL");
        EXPECT_EQ(Attempt([&] { return client.TimeStr(); }).value, "12:34:56")
            << "after " << failing;
    }
}

} // namespace
} // namespace component
