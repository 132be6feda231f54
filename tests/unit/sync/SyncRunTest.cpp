#include "sync/SyncRun.h"

#include "support/LoopbackServer.h"
#include "support/ProgramFixture.h"

#include <algorithm>

using tk::fake::Dialogs;
using tk::fake::TheClock;

namespace {

constexpr const char* Question = "Confirmation: Voulez-vous fermer la connexion à Internet ?";
constexpr const char* ConnectionError =
    "Erreur: Erreur de connexion au serveur.\rMerci de bien vouloir réessayer.";

// A port on 127.0.0.1 where nothing listens.
std::int32_t RefusedPort() {
    LoopbackServer closed("");
    return closed.Port();
}

class SyncRunTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        CreateForm();
        tk::fake::Journal().clear();
        TheClock().now = {2024, 1, 1, 15, 10, 0, 0, 250}; // Monday 15 January 2024, 10:00:00.250
    }

    // Points both clients at loopback servers (or at a refused port with an empty answer).
    void Serve(const std::string& timeAnswer, const std::string& dayTimeAnswer = "") {
        time_ = std::make_unique<LoopbackServer>(timeAnswer);
        Form1->NMTime1.Host = "127.0.0.1";
        Form1->NMTime1.Port = time_->Port();
        Form1->NMTime1.TimeOut = 1000;
        Form1->NMDayTime1.Host = "127.0.0.1";
        Form1->NMDayTime1.TimeOut = 300;
        if (dayTimeAnswer.empty()) {
            Form1->NMDayTime1.Port = RefusedPort();
        } else {
            dayTime_ = std::make_unique<LoopbackServer>(dayTimeAnswer);
            Form1->NMDayTime1.Port = dayTime_->Port();
        }
    }
    void RefuseTimeQuery() {
        Serve("");
        Form1->NMTime1.Port = RefusedPort();
        Form1->NMTime1.TimeOut = 300;
    }

    static std::vector<std::string> Shown() {
        std::vector<std::string> shown;
        for (const auto& d : Dialogs())
            shown.push_back(d.caption + ": " + d.text);
        return shown;
    }
    static std::vector<std::string> ClockSettings() {
        std::vector<std::string> set;
        for (const auto& t : TheClock().set)
            set.push_back(tk::fake::Describe(t));
        return set;
    }
    static bool Journaled(const std::string& line) {
        const auto& journal = tk::fake::Journal();
        return std::find(journal.begin(), journal.end(), line) != journal.end();
    }

    std::unique_ptr<LoopbackServer> time_;
    std::unique_ptr<LoopbackServer> dayTime_;
};

TEST_F(SyncRunTest, ASuccessfulRunSetsReportsAsksAndEnds) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0));
    tk::fake::DialogAnswers() = {tk::mrOk, tk::mrNo};
    Form1->Button1Click(&Form1->Button1);

    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-01-15 12:00:00.000"});
    EXPECT_EQ(TheClock().set.at(0).wDayOfWeek, 1);
    EXPECT_EQ(Steps(),
              (std::vector<std::string>{
                  "Button1 disabled", "InternetGetConnectedState(0)",
                  "SetSystemTime 2024-01-15 12:00:00.000", "taskbar notified",
                  "dialog Information: Le PC retardait de 2 heures.\rLa correction a été faite.",
                  std::string("dialog ") + Question, "Button1 enabled"}));
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, AClockAlreadyRightIsSetAllTheSame) {
    Serve(TimeAnswer(2024, 1, 15, 10, 0, 8));
    Form1->AskDisconnect = false;
    Form1->Button1Click(nullptr);
    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-01-15 10:00:08.000"});
    EXPECT_EQ(Shown(),
              std::vector<std::string>{"Information: Le PC était parfaitement à l'heure !"});
}

TEST_F(SyncRunTest, AFailedTimeQueryLeavesTheClockAndKeepsTheProgramRunning) {
    RefuseTimeQuery();
    Form1->Button1Click(nullptr);
    EXPECT_TRUE(TheClock().set.empty());
    EXPECT_EQ(Shown(), std::vector<std::string>{ConnectionError});
    EXPECT_TRUE(Form1->Button1.Enabled());
    EXPECT_FALSE(tk::Application->Terminated());
    EXPECT_FALSE(Journaled("InternetAutodialHangup(0)"));
}

TEST_F(SyncRunTest, AFailedDaytimeQueryIsAFailedQuery) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0)); // no Daytime server: refused
    Form1->CorrigeDate = true;
    Form1->AskDisconnect = false;
    Form1->AutoDisconnect = true;
    Form1->Button1Click(nullptr);
    EXPECT_EQ(time_->Connections(), 1);
    EXPECT_TRUE(TheClock().set.empty());
    EXPECT_EQ(Shown(), std::vector<std::string>{ConnectionError});
    EXPECT_FALSE(Journaled("InternetAutodialHangup(0)")); // a dialled connection stays up
    EXPECT_FALSE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, InSilentModeAFailedQueryShowsNothingAndEnds) {
    RefuseTimeQuery();
    Form1->SilentMode = true;
    Form1->Button1Click(nullptr);
    EXPECT_TRUE(TheClock().set.empty());
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(Form1->Button1.Enabled());
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, ARefusedSettingIsReportedAsRefused) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0));
    TheClock().refuse = true;
    tk::fake::DialogAnswers() = {tk::mrOk, tk::mrYes};
    Form1->Button1Click(nullptr);
    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-01-15 12:00:00.000"});
    EXPECT_EQ(TheClock().taskbarNotices, 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "Erreur: Le PC retardait de 2 heures.\rLa correction a été refusée par "
                           "le système (droits d'administrateur requis).",
                           Question}));
    EXPECT_TRUE(Journaled("InternetAutodialHangup(0)"));
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, AroundMidnightTheNearestDayIsKept) {
    TheClock().now = {2024, 1, 1, 15, 23, 59, 50, 0};
    Serve(TimeAnswer(2024, 1, 16, 0, 0, 5));
    Form1->AskDisconnect = false;
    Form1->Button1Click(nullptr);
    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-01-16 00:00:05.000"});
    EXPECT_EQ(TheClock().set.at(0).wDayOfWeek, 2);
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Information: Le PC retardait de 15 secondes.\rLa correction a été "
                           "faite."});
}

TEST_F(SyncRunTest, AFailureAfterTheClockWasSetIsShownAndTheProgramEnds) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0));
    tk::fake::DialogAnswers() = {tk::fake::RaiseError};
    Form1->Button1Click(nullptr);
    EXPECT_EQ(ClockSettings().size(), 1u);
    ASSERT_EQ(Dialogs().size(), 2u); // the report, then the error box; no question
    EXPECT_TRUE(Dialogs()[1].errorBox);
    EXPECT_EQ(Dialogs()[1].caption, "Pendulix");
    EXPECT_EQ(Dialogs()[1].text, tk::fake::SimulatedFailureText);
    EXPECT_TRUE(Form1->Button1.Enabled());
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, ClosingTheWindowDuringARunLetsItFinishWithoutDialogs) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0));
    tk::fake::PendingEvents().push_back([] { Form1->Close(); });
    Form1->Button1Click(nullptr);
    EXPECT_EQ(ClockSettings().size(), 1u); // the run went on
    EXPECT_TRUE(Dialogs().empty());        // every box closed at once as if cancelled
    EXPECT_FALSE(Journaled("InternetAutodialHangup(0)")); // so the question was not a Yes
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, ClosingTheWindowDuringAFailingRunStillEndsTheProgram) {
    RefuseTimeQuery();
    tk::fake::PendingEvents().push_back([] { Form1->Close(); });
    Form1->Button1Click(nullptr);
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(SyncRunTest, WithoutAConnectionTheProgramEndsAtOnce) {
    Serve(TimeAnswer(2024, 1, 15, 12, 0, 0));
    tk::fake::TheDialUp().connected = false;
    tk::fake::TheDialUp().dialSucceeds = false;
    Form1->Button1Click(nullptr);
    EXPECT_EQ(time_->Connections(), 0);
    EXPECT_TRUE(TheClock().set.empty());
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(tk::Application->Terminated());
}

} // namespace

namespace {

class DateCorrectionRunTest : public SyncRunTest {
protected:
    void Run(tk::SYSTEMTIME clock, const std::string& timeAnswer, const std::string& reply) {
        TheClock().now = clock;
        Serve(timeAnswer, reply);
        Form1->CorrigeDate = true;
        Form1->AskDisconnect = false;
        Form1->Button1Click(nullptr);
    }
};

TEST_F(DateCorrectionRunTest, ADayAhead) {
    Run({2024, 1, 2, 16, 12, 0, 0, 0}, TimeAnswer(2024, 1, 15, 12, 0, 0),
        "60324 24-01-15 12:00:00 00 0 0 50.0 UTC(NIST) *\r\n");
    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-01-15 12:00:00.000"});
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Information: Le PC avançait de 1 jour.\rLa correction a été faite."});
}

TEST_F(DateCorrectionRunTest, DaysHoursAndSecondsBehind) {
    Run({2024, 3, 4, 7, 7, 0, 0, 0}, TimeAnswer(2024, 3, 10, 12, 0, 3), "24-03-10 12:00:03\r\n");
    EXPECT_EQ(ClockSettings(), std::vector<std::string>{"2024-03-10 12:00:03.000"});
    EXPECT_EQ(TheClock().set.at(0).wDayOfWeek, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Information: Le PC retardait de 3 jours 5 heures "
                                                "3 secondes.\rLa correction a été faite."});
}

} // namespace
