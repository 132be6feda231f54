// TNMDayTime against the fixture server: the reply is kept byte for byte and taken whole.
#include "netclients/NMDayTim.h"
#include "component/FixtureServer.h"

#include <gtest/gtest.h>

namespace component {
namespace {

TEST(NMDayTime, ConstructorSetsPort13AndTimeOut500) {
    TNMDayTime client(nullptr);
    EXPECT_EQ(client.Port, 13);
    EXPECT_EQ(client.TimeOut, 500);
    EXPECT_EQ(client.ReportLevel, 0);
}

// Built with an explicit length: the replies hold NUL bytes.
std::string Bytes(const char* text, std::size_t length) {
    return std::string(text, length);
}
#define BYTES(literal) Bytes(literal, sizeof(literal) - 1)

struct DaytimeCase {
    const char* name;
    const char* port;
    std::string kind;
    std::string expected; // the reply, or the exception's text
};
void PrintTo(const DaytimeCase& c, std::ostream* os) {
    *os << c.name;
}

const DaytimeCase daytimeCases[] = {
    {"BlanksNulAndCrLfKept", "DAYTIME_TEXT", "none", BYTES("  60462 24-06-01 12:34:56\0UTC*\r\n")},
    {"TwoPartsReturnedWhole", "DAYTIME_SPLIT", "none", BYTES(" 24-06-01 NIST\r\n")},
    {"FirstPartWhenTheRestIsLate", "DAYTIME_PARTIAL", "none", BYTES(" 24-06-")},
    {"LongestAnswer", "FLOOD_LIMIT", "none", std::string(65535, 'x')},
    {"TooLong", "FLOOD", "Exception", "Réponse incorrecte du serveur de temps"},
    {"CloseWithoutData", "CLOSE", "Exception", "Réponse incorrecte du serveur de temps"},
    {"Silent", "SILENT", "Exception", "Le serveur n'a pas répondu dans le temps imparti"},
    {"Refused", "REFUSED", "Exception", "La connexion a dépassé le temps imparti"},
};

class DaytimeReplies : public ComponentTest, public testing::WithParamInterface<DaytimeCase> {};

TEST_P(DaytimeReplies, DayTimeText) {
    const DaytimeCase& c = GetParam();
    TNMDayTime client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = FixturePort(c.port);
    client.TimeOut = ShortTimeOut;

    Outcome outcome = Attempt([&] { return client.DayTimeText(); });

    EXPECT_EQ(outcome.kind, c.kind);
    if (c.kind == "none") {
        EXPECT_EQ(outcome.value.size(), c.expected.size());
        EXPECT_EQ(outcome.value, c.expected);
    } else {
        EXPECT_EQ(outcome.message, c.expected);
    }
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.BufferedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Fixture, DaytimeReplies, testing::ValuesIn(daytimeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace component
