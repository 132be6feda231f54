// The settings reader: TIniFile's integer rule on real files, and the portable profile reader
// against what the Windows reader returns.
#include "platform/IniFiles.h"

#include "unit/platform/ProfileCases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tk {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
class IniFolder : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("pendulix-ini-") + info->test_suite_name() + "-" + info->name();
        for (char& ch : name)
            ch = ch == '/' ? '_' : ch;
        folder_ = fs::path(testing::TempDir()) / name;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

struct ValueCase {
    const char* name;
    std::string value;     // written as "AutoConnect=<value>"
    std::int32_t expected; // with 7 as the default
};

class SettingsValue : public IniFolder, public testing::WithParamInterface<ValueCase> {};

TEST_P(SettingsValue, ReadIntegerAppliesTheValueRule) {
    const ValueCase& c = GetParam();
    const TIniFile ini(Write("Pendulix.ini", "[config]\r\nAutoConnect=" + c.value + "\r\n"));
    EXPECT_EQ(ini.ReadInteger("config", "AutoConnect", 7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsValue,
    testing::Values(ValueCase{"One", "1", 1}, ValueCase{"Zero", "0", 0}, ValueCase{"Two", "2", 2},
                    ValueCase{"MinusOne", "-1", -1}, ValueCase{"HexZeroX", "0x1", 1},
                    ValueCase{"HexDollar", "$1F", 31}, ValueCase{"HexLoneX", "x10", 16},
                    ValueCase{"BlanksAround", "   12   ", 12}, ValueCase{"Quoted", "\"1\"", 1},
                    ValueCase{"Yes", "yes", 7}, ValueCase{"True", "true", 7},
                    ValueCase{"On", "on", 7}, ValueCase{"Empty", "", 7},
                    ValueCase{"TrailingWord", "1 oui", 7}, ValueCase{"SignedHex", "-0x1", 7},
                    ValueCase{"TooBig", "2147483648", 7}, ValueCase{"HexAllOnes", "0xFFFFFFFF", 7},
                    ValueCase{"MaxInt", "2147483647", 2147483647}),
    [](const testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST_F(IniFolder, SectionInCapitalsFoundOtherSectionsIgnored) {
    const TIniFile ini(Write("Pendulix.ini", "[OTHER]\r\nLogFile=1\r\nAutoSynchro=1\r\n"
                                             "[CONFIG]\r\nautosynchro=0\r\nSilentMode=1\r\n"));
    EXPECT_EQ(ini.ReadInteger("config", "AutoSynchro", 5), 0);
    EXPECT_EQ(ini.ReadInteger("config", "SilentMode", 5), 1);
    EXPECT_EQ(ini.ReadInteger("config", "LogFile", 5), 5);
    EXPECT_EQ(ini.ReadString("config", "SilentMode", "x"), "1");
    EXPECT_EQ(ini.ReadString("config", "LogFile", "x"), "x");
}

TEST_F(IniFolder, MissingFileSectionOrKeyGiveTheDefault) {
    const TIniFile missingFile(PathOf("absent.ini"));
    EXPECT_EQ(missingFile.ReadInteger("config", "AskDisconnect", 1), 1);
    EXPECT_EQ(missingFile.ReadString("config", "AskDisconnect", "oui"), "oui");
    const TIniFile noSection(Write("a.ini", "[other]\r\nAskDisconnect=0\r\n"));
    EXPECT_EQ(noSection.ReadInteger("config", "AskDisconnect", 1), 1);
    const TIniFile noKey(Write("b.ini", "[config]\r\nAutoDisconnect=0\r\n"));
    EXPECT_EQ(noKey.ReadInteger("config", "AskDisconnect", 1), 1);
    EXPECT_EQ(noKey.FileName(), PathOf("b.ini"));
}

TEST_F(IniFolder, ReadsNothingBeforeAValueIsAskedFor) {
    const TIniFile ini(PathOf("later.ini"));
    Write("later.ini", "[config]\r\nLogFile=1\r\n");
    EXPECT_EQ(ini.ReadInteger("config", "LogFile", 0), 1);
}

TEST_F(IniFolder, PortableReaderGivesWhatWindowsGives) {
    const auto cases = testing_profiles::ProfileCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string file = testing_profiles::PrepareProfileCase(folder_, i, c);
        EXPECT_EQ(PortableProfileString(file, c.section, c.key, c.fallback), c.expected);
    }
}

TEST_F(IniFolder, TheTestBackendReadsWithThePortableReader) {
    const std::string file = Write("p.ini", "[config]\r\nA=\"1\"\r\n");
    EXPECT_EQ(ReadProfileString(file, "config", "A", "d"), "1");
    EXPECT_EQ(ReadProfileString(file, "config", "B", "d"), "d");
}

} // namespace
} // namespace tk
