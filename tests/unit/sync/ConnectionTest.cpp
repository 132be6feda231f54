// The dial-up stages inside whole runs: which calls are made with which arguments, whether
// the question shows, and whether the run goes on.
#include "support/LoopbackServer.h"
#include "support/ProgramFixture.h"

namespace {

enum class Line { Connected, Dialled, DialFails };

struct DialCase {
    const char* name;
    const char* ini;
    Line line;
    int answer;                     // to the hang-up question, if it shows
    std::vector<std::string> calls; // the dial-up calls and the question, in order
    bool clockSet;
    bool silent = false;
};

// A failing row is named, not dumped as bytes.
void PrintTo(const DialCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string Ask = "dialog Confirmation: Voulez-vous fermer la connexion à Internet ?";
const std::string State = "InternetGetConnectedState(0)";
const std::string Hangup = "InternetAutodialHangup(0)";

const DialCase dialCases[] = {
    {"ConnectedAskedYes", "", Line::Connected, tk::mrYes, {State, Ask, Hangup}, true},
    {"ConnectedAskedNo", "", Line::Connected, tk::mrNo, {State, Ask}, true},
    {"ConnectedAskedCancelled", "", Line::Connected, tk::mrCancel, {State, Ask}, true},
    {"AskingWinsOverAutoDisconnect",
     "AutoDisconnect=1",
     Line::Connected,
     tk::mrNo,
     {State, Ask},
     true},
    {"DialledWithTheUserWatching",
     "",
     Line::Dialled,
     tk::mrYes,
     {State, "InternetAutodial(0, Form1)", Ask, Hangup},
     true},
    {"DialledUnattended",
     "AutoConnect=1",
     Line::Dialled,
     tk::mrNo,
     {State, "InternetAutodial(2, Form1)", Ask},
     true},
    {"DialFailsEndsTheRun",
     "AutoConnect=1",
     Line::DialFails,
     tk::mrYes,
     {State, "InternetAutodial(2, Form1)"},
     false},
    {"HangUpWithoutAsking",
     "AskDisconnect=0\r\nAutoDisconnect=1",
     Line::Dialled,
     tk::mrYes,
     {State, "InternetAutodial(0, Form1)", Hangup},
     true},
    {"NeitherAskNorHangUp", "AskDisconnect=0", Line::Connected, tk::mrYes, {State}, true},
    {"SilentModeStillAsks",
     "AutoConnect=1",
     Line::Dialled,
     tk::mrYes,
     {State, "InternetAutodial(2, Form1)", Ask, Hangup},
     true,
     true},
};

class ConnectionTest : public ProgramFixture, public testing::WithParamInterface<DialCase> {};

TEST_P(ConnectionTest, CallsQuestionAndOutcome) {
    const DialCase& c = GetParam();
    LoopbackServer server(TimeAnswer(2024, 1, 15, 12, 0, 0));
    auto& dialUp = tk::fake::TheDialUp();
    dialUp.connected = c.line == Line::Connected;
    dialUp.dialSucceeds = c.line != Line::DialFails;
    WriteSettings(std::string("[config]\r\n") + c.ini + "\r\n");
    TForm1& form = CreateForm();
    form.SilentMode = c.silent;
    // Without silent mode the report's box comes before the question.
    tk::fake::DialogAnswers() = {c.silent ? c.answer : tk::mrOk, c.answer};
    tk::fake::Journal().clear();
    form.NMTime1.Host = "127.0.0.1";
    form.NMTime1.Port = server.Port();

    form.Button1Click(nullptr);

    std::vector<std::string> calls;
    for (const auto& line : tk::fake::Journal())
        if (line.rfind("Internet", 0) == 0 || line.rfind("dialog Confirmation", 0) == 0)
            calls.push_back(line);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(!tk::fake::TheClock().set.empty(), c.clockSet);
    EXPECT_EQ(server.Connections(), c.clockSet ? 1 : 0);
    EXPECT_TRUE(tk::Application->Terminated());
}

INSTANTIATE_TEST_SUITE_P(Table, ConnectionTest, testing::ValuesIn(dialCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
