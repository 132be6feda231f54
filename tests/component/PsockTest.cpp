// The socket component as the clients drive it: resolution and OnInvalidHost, status reports,
// events, a query entered again, and what a connection time-out leaves behind.
#include "component/FixtureServer.h"
#include "netclients/NMDayTim.h"
#include "netclients/NMTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace component {
namespace {

constexpr const char* UnknownHost = "no-such-host.invalid";

class Psock : public ComponentTest {
protected:
    Psock() {
        client.Host = "127.0.0.1";
        client.Port = FixturePort("TIME_NORMAL");
        client.TimeOut = ShortTimeOut;
        client.OnHostResolved = [this](tk::TComponent*) { ++resolved; };
    }
    TNMTime client{nullptr};
    int resolved = 0;
};

TEST_F(Psock, DottedAddressNeedsNoLookup) {
    EXPECT_EQ(client.TimeStr(), "12:34:56");
    EXPECT_EQ(resolved, 0);
}

TEST_F(Psock, HostNameIsLookedUp) {
    client.Host = "localhost";
    EXPECT_EQ(client.TimeStr(), "12:34:56");
    EXPECT_EQ(resolved, 1);
}

struct InvalidHostCase {
    const char* name;
    const char* host;
    bool handlerSet;
    bool handles;
    const char* newHost; // what the handler puts into Host, or nullptr
    int timesAsked;
    const char* kind;
    const char* text; // TimeStr, or the exception's text
};
void PrintTo(const InvalidHostCase& c, std::ostream* os) {
    *os << c.name;
}

const InvalidHostCase invalidHostCases[] = {
    {"UnknownNameNoHandler", UnknownHost, false, false, nullptr, 0, "ESockError",
     "Adresse distante nulle"},
    {"ZeroAddressNoHandler", "0.0.0.0", false, false, nullptr, 0, "ESockError",
     "Adresse distante nulle"},
    {"UnknownNameNotHandled", UnknownHost, true, false, nullptr, 1, "ESockError",
     "Adresse distante nulle"},
    {"UnknownNameHandledOnce", UnknownHost, true, true, nullptr, 1, "ESockError",
     "Adresse distante nulle"},
    {"ZeroAddressHandledOnce", "0.0.0.0", true, true, nullptr, 1, "ESockError",
     "Adresse distante nulle"},
    {"HandlerMendsHost", UnknownHost, true, true, "127.0.0.1", 1, "none", "12:34:56"},
};

class InvalidHost : public Psock, public testing::WithParamInterface<InvalidHostCase> {};

TEST_P(InvalidHost, AskedAtMostOncePerQuery) {
    const InvalidHostCase& c = GetParam();
    client.Host = c.host;
    int asked = 0;
    if (c.handlerSet) {
        client.OnInvalidHost = [&](bool& handled) {
            ++asked;
            EXPECT_FALSE(handled);
            if (c.newHost)
                client.Host = c.newHost;
            handled = c.handles;
        };
    }
    Outcome outcome = Attempt([&] { return client.TimeStr(); });
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.kind == "none" ? outcome.value : outcome.message, c.text);
    EXPECT_EQ(asked, c.timesAsked);
    EXPECT_EQ(resolved, 0);
}

INSTANTIATE_TEST_SUITE_P(Resolution, InvalidHost, testing::ValuesIn(invalidHostCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
    const char* name;
    const char* port;
    std::int32_t level;
    std::vector<std::string> reports;
};
void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

// TIME_HOLD answers and keeps the connection, so the order of reports does not depend on when
// the server's close arrives.
const StatusCase statusCases[] = {
    {"AnswerAtLevel8",
     "TIME_HOLD",
     8,
     {"Résolution d'hôte", "Connexion", "Read( 0 )", "Déconnexion", "Requête fermeture de socket"}},
    {"AnswerAtLevel4", "TIME_HOLD", 4, {"Requête fermeture de socket"}},
    {"AnswerAtLevel0", "TIME_HOLD", 0, {}},
    {"RefusedAtLevel8", "REFUSED", 8, {"Résolution d'hôte", "Connexion", "Timer déclenché"}},
};

class StatusReports : public Psock, public testing::WithParamInterface<StatusCase> {};

TEST_P(StatusReports, FilteredByReportLevel) {
    const StatusCase& c = GetParam();
    client.Port = FixturePort(c.port);
    client.ReportLevel = c.level;
    std::vector<std::string> reports;
    client.OnStatus = [&](tk::TComponent* sender, const std::string& status) {
        EXPECT_EQ(sender, &client);
        reports.push_back(status);
    };
    Attempt([&] { return client.TimeStr(); });
    EXPECT_EQ(reports, c.reports);
    if (!c.reports.empty()) {
        EXPECT_EQ(client.LastStatus(), c.reports.back());
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, StatusReports, testing::ValuesIn(statusCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Psock, RefusalIsReportedAtLevel16) {
    client.Port = FixturePort("REFUSED");
    client.ReportLevel = 16;
    std::vector<std::string> reports;
    client.OnStatus = [&](tk::TComponent*, const std::string& status) {
        reports.push_back(status);
    };
    Attempt([&] { return client.TimeStr(); });
    ASSERT_EQ(reports.size(), 4u);
    // The system's error number and its description, whatever the system.
    EXPECT_NE(reports[2].find(": "), std::string::npos) << reports[2];
    EXPECT_EQ(reports[3], "Timer déclenché");
}

TEST_F(Psock, ConnectAndDisconnectAreTold) {
    client.Port = FixturePort("TIME_HOLD");
    std::vector<std::string> events;
    client.OnConnect = [&](tk::TObject* sender) {
        EXPECT_EQ(sender, &client);
        events.push_back("connect");
    };
    client.OnDisconnect = [&](tk::TObject*) { events.push_back("disconnect"); };
    EXPECT_EQ(client.TimeStr(), "12:34:56");
    EXPECT_EQ(events, (std::vector<std::string>{"connect", "disconnect"}));
}

// A query entered again while its connection stands (from a handler run by the wait) is refused;
// the failure stays inside the handler and the outer query ends normally.
TEST_F(Psock, SecondQueryOnAConnectedClientIsRefused) {
    client.Port = FixturePort("TIME_HOLD");
    Outcome inner;
    client.OnConnect = [&](tk::TObject*) { inner = Attempt([&] { return client.TimeStr(); }); };
    EXPECT_EQ(client.TimeStr(), "12:34:56");
    EXPECT_EQ(inner.kind, "ESockError");
    EXPECT_EQ(inner.message, "Déjà connecté");
}

// Failures of handlers run by notifications and timers stay there: the query goes on.
TEST_F(Psock, HandlerFailuresDoNotStopTheQuery) {
    client.Port = FixturePort("TIME_HOLD");
    client.ReportLevel = 16;
    int thrown = 0;
    client.OnConnect = [&](tk::TObject*) {
        ++thrown;
        throw tk::Exception("OnConnect");
    };
    client.OnStatus = [&](tk::TComponent*, const std::string& status) {
        if (status == "Timer déclenché") {
            ++thrown;
            throw tk::Exception("OnStatus");
        }
    };
    EXPECT_EQ(client.TimeStr(), "12:34:56");
    EXPECT_EQ(thrown, 1);

    client.Port = FixturePort("REFUSED");
    EXPECT_EQ(Attempt([&] { return client.TimeStr(); }).message,
              "La connexion a dépassé le temps imparti");
    EXPECT_EQ(thrown, 2);
}

// The fixture's STALL port holds a connect pending (SYNs dropped) until STALL_RELEASE is asked;
// then the connect that was left standing would complete and receive 00 00 00 00, and the
// connection would stay open.
TEST_F(Psock, ConnectionTimeOutLeavesNothingBehind) {
    client.Port = FixturePort("STALL");
    Outcome timedOut = Attempt([&] { return client.TimeStr(); });
    ASSERT_EQ(timedOut.message, "La connexion a dépassé le temps imparti");
    EXPECT_EQ(timedOut.kind, "Exception");

    TNMDayTime release(nullptr);
    release.Host = "127.0.0.1";
    release.Port = FixturePort("STALL_RELEASE");
    ASSERT_EQ(release.DayTimeText(), "ok");
    ProcessMessagesFor(1500); // past the kernel's first SYN retry (1 s)

    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.BufferedBytes(), 0u);
    client.Port = FixturePort("TIME_NORMAL");
    Outcome next = Attempt([&] { return std::to_string(client.TimeInt()); });
    EXPECT_EQ(next.message, "");
    EXPECT_EQ(next.value, "-368733200");
}

} // namespace
} // namespace component
