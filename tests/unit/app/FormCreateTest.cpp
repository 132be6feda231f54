#include "support/ProgramFixture.h"

#include <algorithm>

using tk::fake::Journal;

namespace {

using FormCreateTest = ProgramFixture;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(FormCreateTest, WithoutSettingsTheWindowShowsAndNoRunStarts) {
    TForm1& form = CreateForm();
    EXPECT_EQ(form.Caption(), "Pendulix");
    EXPECT_EQ(form.ProgramDir, Dir().string() + "/");
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(Steps(), (std::vector<std::string>{"Form1 caption Form1", "Form1 caption Pendulix",
                                                 "Form1 shown"}));
    EXPECT_TRUE(form.AskDisconnect);
    EXPECT_FALSE(form.AutoConnect || form.AutoSynchro || form.AutoDisconnect || form.SilentMode ||
                 form.LogFile || form.CorrigeDate);
    EXPECT_FALSE(tk::Application->Terminated());
}

TEST_F(FormCreateTest, AStartUpRunComesAfterTheWindowIsShownAndDrawn) {
    WriteSettings("[config]\r\nAutoSynchro=1\r\nAutoConnect=1\r\n");
    tk::fake::TheDialUp().connected = false;
    tk::fake::TheDialUp().dialSucceeds = false; // the run then ends at once
    CreateForm();
    const std::vector<std::string> expected{"Form1 caption Form1",
                                            "Form1 caption Pendulix",
                                            "Form1 shown",
                                            "ProcessMessages",
                                            "Button1 disabled",
                                            "InternetGetConnectedState(0)",
                                            "InternetAutodial(2, Form1)",
                                            "Button1 enabled"};
    EXPECT_EQ(Journal(), expected);
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(FormCreateTest, SilentModeRunsAtOnceWithTheWindowHidden) {
    WriteSettings("[config]\r\nSilentMode=1\r\nAutoSynchro=0\r\n");
    tk::fake::TheDialUp().connected = false;
    tk::fake::TheDialUp().dialSucceeds = false;
    TForm1& form = CreateForm();
    EXPECT_TRUE(form.AutoSynchro);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(Contains(Journal(), "Form1 shown"));
    EXPECT_TRUE(Contains(Journal(), "Form1 hidden"));
    EXPECT_TRUE(Contains(Journal(), "Button1 disabled"));
}

struct SettingsCase {
    const char* name;
    const char* ini;
    bool askDisconnect;
    bool autoDisconnect;
    bool autoConnect;
};

// A failing row is named, not dumped as bytes.
void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

const SettingsCase settingsCases[] = {
    {"Defaults", "", true, false, false},
    {"AskingTurnsAutoDisconnectOff", "[config]\r\nAutoDisconnect=1\r\n", true, false, false},
    {"AutoDisconnectWithoutAsking", "[config]\r\nAskDisconnect=0\r\nAutoDisconnect=1\r\n", false,
     true, false},
    {"SectionNameInCapitals", "[CONFIG]\r\nAutoConnect=1\r\n", true, false, true},
    {"KeysOfAnotherSectionIgnored", "[other]\r\nAutoConnect=1\r\nAskDisconnect=0\r\n", true, false,
     false},
    {"WordsGiveTheDefault", "[config]\r\nAskDisconnect=no\r\nAutoConnect=yes\r\n", true, false,
     false},
    {"AnyNonZeroIntegerIsOn", "[config]\r\nAutoConnect=-1\r\nAskDisconnect=0x0\r\n", false, false,
     true},
    {"TrailingCharactersGiveTheDefault", "[config]\r\nAutoConnect=1 x\r\n", true, false, false},
};

class ReadSettingsTest : public ProgramFixture, public testing::WithParamInterface<SettingsCase> {};

TEST_P(ReadSettingsTest, ValuesAfterTheStartUpRules) {
    WriteSettings(GetParam().ini);
    TForm1& form = CreateForm();
    EXPECT_EQ(form.AskDisconnect, GetParam().askDisconnect);
    EXPECT_EQ(form.AutoDisconnect, GetParam().autoDisconnect);
    EXPECT_EQ(form.AutoConnect, GetParam().autoConnect);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadSettingsTest, testing::ValuesIn(settingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormCreateTest, TheSettingsFileBesideTheProgramIsReadNotTheCurrentDirectorys) {
    const auto elsewhere = Dir() / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::ofstream(elsewhere / "Pendulix.ini") << "[config]\r\nSilentMode=1\r\n";
    WriteSettings("[config]\r\nCorrigeDate=1\r\n");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    TForm1& form = CreateForm();
    std::filesystem::current_path(saved);
    EXPECT_FALSE(form.SilentMode);
    EXPECT_TRUE(form.CorrigeDate);
}

TEST_F(FormCreateTest, TheLayoutOfTheWindow) {
    TForm1& form = CreateForm();
    EXPECT_EQ(form.ClientWidth, 379);
    EXPECT_EQ(form.ClientHeight, 85);
    EXPECT_EQ(form.BorderStyle, tk::TBorderStyle::bsSingle);
    EXPECT_EQ(form.BorderIcons, unsigned{tk::biSystemMenu | tk::biMinimize});
    EXPECT_EQ(form.Position, tk::TPosition::poScreenCenter);
    EXPECT_EQ(form.Button1.Caption, "Mets mon PC à l'heure !");
    EXPECT_EQ(form.Button1.Font.Name, "Arial");
    EXPECT_EQ(form.Button1.Font.Size, 14);
    EXPECT_FALSE(form.ListBox1.Visible);
    EXPECT_EQ(form.NMTime1.Port, 37);
    EXPECT_EQ(form.NMDayTime1.Port, 13);
    EXPECT_EQ(form.NMTime1.TimeOut, 5000);
    EXPECT_EQ(form.NMDayTime1.TimeOut, 5000);
    EXPECT_EQ(form.NMTime1.Host, form.NMDayTime1.Host);
}

} // namespace
