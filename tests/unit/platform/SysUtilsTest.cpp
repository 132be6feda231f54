// The integer value rule, the Windows-1252 conversions and the file name helpers.
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tk {
namespace {

struct IntCase {
    const char* name;
    std::string text;
    std::optional<std::int32_t> value; // none: the text does not convert
};

class ValueRule : public testing::TestWithParam<IntCase> {};

TEST_P(ValueRule, ConvertsOrFails) {
    const IntCase& c = GetParam();
    std::int32_t value = 12345;
    const bool converted = TryStrToInt(c.text, value);
    ASSERT_EQ(converted, c.value.has_value()) << "text '" << c.text << "' gave " << value;
    if (c.value) {
        EXPECT_EQ(value, *c.value);
        EXPECT_EQ(StrToInt(c.text), *c.value);
        EXPECT_EQ(StrToIntDef(c.text, 77), *c.value);
    } else {
        EXPECT_EQ(StrToIntDef(c.text, 77), 77);
        EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueRule,
    testing::Values(
        IntCase{"Two", "2", 2}, IntCase{"MinusOne", "-1", -1}, IntCase{"Zero", "0", 0},
        IntCase{"PlusSign", "+7", 7}, IntCase{"MinusZero", "-0", 0},
        IntCase{"LeadingZeros", "0000000000042", 42}, IntCase{"HexZeroX", "0x1", 1},
        IntCase{"HexZeroBigX", "0X1f", 31}, IntCase{"HexDollar", "$1F", 31},
        IntCase{"HexDollarLower", "$ff", 255}, IntCase{"HexLoneX", "x10", 16},
        IntCase{"HexLoneBigX", "X10", 16}, IntCase{"LeadingBlanks", "  12", 12},
        IntCase{"MaxInt", "2147483647", 2147483647},
        IntCase{"MinInt", "-2147483648", -2147483647 - 1},
        IntCase{"HexMaxInt", "0x7FFFFFFF", 2147483647}, IntCase{"Yes", "yes", std::nullopt},
        IntCase{"True", "true", std::nullopt}, IntCase{"On", "on", std::nullopt},
        IntCase{"Empty", "", std::nullopt}, IntCase{"BlanksOnly", "   ", std::nullopt},
        IntCase{"SignAlone", "-", std::nullopt}, IntCase{"SignAndHexZeroX", "+0x1", std::nullopt},
        IntCase{"SignAndDollar", "-$1", std::nullopt}, IntCase{"SignAndLoneX", "-x1", std::nullopt},
        IntCase{"TrailingBlank", "12 ", std::nullopt},
        IntCase{"TrailingLetter", "1a", std::nullopt},
        IntCase{"BlankAfterSign", "- 1", std::nullopt},
        IntCase{"TabIsNotABlank", "\t1", std::nullopt},
        IntCase{"AboveMaxInt", "2147483648", std::nullopt},
        IntCase{"BelowMinInt", "-2147483649", std::nullopt},
        IntCase{"HexAllOnes", "0xFFFFFFFF", std::nullopt},
        IntCase{"HexAboveMaxInt", "$80000000", std::nullopt},
        IntCase{"HugeDecimal", "99999999999999999999999", std::nullopt},
        IntCase{"HexMarkAlone", "0x", std::nullopt}, IntCase{"DollarAlone", "$", std::nullopt},
        IntCase{"LoneXAlone", "x", std::nullopt}, IntCase{"HexBadDigit", "$1G", std::nullopt},
        IntCase{"DoubleHexMark", "0x$1", std::nullopt},
        IntCase{"EmbeddedNul", std::string("1\0", 2), std::nullopt}),
    [](const testing::TestParamInfo<IntCase>& info) { return std::string(info.param.name); });

TEST(StrToInt, ErrorTextQuotesTheText) {
    try {
        StrToInt("oui");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'oui' n'est pas une valeur entière correcte");
    }
}

TEST(Encodings, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
}

TEST(Encodings, KnownCharacters) {
    struct Row {
        const char* name;
        std::string cp1252;
        std::string utf8;
    } rows[] = {
        {"ascii", "Pendulix", "Pendulix"},
        {"nul kept", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"e acute", "\xE9", "é"},
        {"a grave", "\xE0", "à"},
        {"euro", "\x80", "€"},
        {"oe ligature", "\x9C", "œ"},
        {"y diaeresis capital", "\x9F", "Ÿ"},
        {"right quote", "\x92", "’"},
        {"undefined 81", "\x81", "\xC2\x81"},
        {"undefined 8D", "\x8D", "\xC2\x8D"},
        {"undefined 8F", "\x8F", "\xC2\x8F"},
        {"undefined 90", "\x90", "\xC2\x90"},
        {"undefined 9D", "\x9D", "\xC2\x9D"},
        {"nbsp", "\xA0", "\xC2\xA0"},
        {"y diaeresis", "\xFF", "ÿ"},
        {"sentence", "Mets mon PC \xE0 l'heure !", "Mets mon PC à l'heure !"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(AnsiToUtf8(r.cp1252), r.utf8);
        EXPECT_EQ(Utf8ToAnsi(r.utf8), r.cp1252);
    }
}

TEST(Encodings, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("Ā"), "?");         // U+0100
    EXPECT_EQ(Utf8ToAnsi("\xC2\x80"), "?");  // U+0080, a C1 control the code page lacks
    EXPECT_EQ(Utf8ToAnsi("😀x"), "?x");       // outside the BMP: one character, one mark
    EXPECT_EQ(Utf8ToAnsi("\xFFx"), "?x");    // not UTF-8 at all
    EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");      // cut short
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??"); // overlong
}

TEST(ExtractFilePath, BothDelimiterSets) {
    struct Row {
        const char* name;
        std::string fileName;
        std::string windows; // with "\\:"
        std::string posix;   // with "/"
    } rows[] = {
        {"full Windows path", "C:\\Prog\\Pendulix.exe", "C:\\Prog\\", ""},
        {"drive relative", "C:Pendulix.exe", "C:", ""},
        {"UNC", "\\\\srv\\share\\p.exe", "\\\\srv\\share\\", ""},
        {"POSIX path", "/usr/bin/pendulix", "", "/usr/bin/"},
        {"bare name", "pendulix", "", ""},
        {"empty", "", "", ""},
        {"directory only", "C:\\Prog\\", "C:\\Prog\\", ""},
        {"UTF-8 name", "C:\\Été\\Pendulix.exe", "C:\\Été\\", ""},
        {"colon in POSIX name", "/tmp/a:b/pendulix", "/tmp/a:", "/tmp/a:b/"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ExtractFilePath(r.fileName, "\\:"), r.windows);
        EXPECT_EQ(ExtractFilePath(r.fileName, "/"), r.posix);
    }
}

TEST(ExtractFilePath, UsesThePlatformDelimiters) {
    const std::string name = std::string("dir") + PathDelimiters[0] + "Pendulix.exe";
    EXPECT_EQ(ExtractFilePath(name), std::string("dir") + PathDelimiters[0]);
}

TEST(FileExists, FilesYesDirectoriesNo) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::TempDir()) / "pendulix-fileexists-é";
    fs::create_directories(dir);
    const fs::path file = dir / "Pendulix.ini";
    std::ofstream(file) << "x";
    const auto utf8 = [](const fs::path& p) {
        const std::u8string s = p.u8string();
        return std::string(s.begin(), s.end());
    };
    EXPECT_TRUE(FileExists(utf8(file)));
    EXPECT_FALSE(FileExists(utf8(dir)));
    EXPECT_FALSE(FileExists(utf8(dir / "absent.ini")));
    EXPECT_FALSE(FileExists(""));
    fs::remove_all(dir);
}

} // namespace
} // namespace tk
