// One table of settings files and reads, with what the Windows profile reader returns for each.
// The unit tests check the portable reader against the expected column; the Windows tests
// (under Wine) check that the system's reader and the portable one agree on every row.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tk::testing_profiles {

enum class Where {
    File,     // the content below, in a file
    NoFile,   // no file, in an existing folder
    NoFolder, // no file, and no folder either
    Folder,   // a folder of that name
};

struct ProfileCase {
    const char* name;
    std::string content; // the file's bytes (Windows-1252 unless a byte-order mark says otherwise)
    std::string section, key, fallback; // UTF-8
    std::string expected;               // UTF-8
    Where where = Where::File;
    std::string fileName = "Pendulix.ini"; // UTF-8
};

inline std::vector<ProfileCase> ProfileCases() {
    const std::string x2046(2046, 'x'), x2047(2047, 'x'), x2048(2048, 'x'), x3000(3000, 'x');
    const std::string config = "[config]\r\n";
    return {
        {"plain", config + "AutoConnect=1\r\n", "config", "AutoConnect", "d", "1"},
        {"names in other cases", "[CONFIG]\r\nautoconnect=1\r\n", "Config", "AUTOCONNECT", "d",
         "1"},
        // Only ASCII letters match in either case.
        {"accented names in the same case", "[CONFIG\xC9]\r\n\xC9T\xC9=1\r\n", "CONFIGÉ", "ÉTÉ",
         "d", "1"},
        {"accented section name in another case", "[CONFIG\xC9]\r\nA=1\r\n", "configé", "A", "d",
         "d"},
        {"accented key name in another case", config + "\xC9T\xC9=1\r\n", "config", "été", "d",
         "d"},
        {"Y diaeresis key in another case", config + "\x9F=1\r\n", "config", "ÿ", "d", "d"},
        {"OE ligature key in another case", config + "\x8C=1\r\n", "config", "œ", "d", "d"},
        {"key in another section", "[other]\r\nAutoConnect=1\r\n", "config", "AutoConnect", "d",
         "d"},
        {"key before any section", "AutoConnect=1\r\n" + config, "config", "AutoConnect", "d", "d"},
        {"missing key", config + "AutoSynchro=1\r\n", "config", "AutoConnect", "d", "d"},
        {"missing section", "[other]\r\n", "config", "AutoConnect", "d", "d"},
        {"empty file", "", "config", "AutoConnect", "d", "d"},
        {"blanks around everything", "  [config]  \r\n  AutoConnect  =   1   \r\n", "config",
         "AutoConnect", "d", "1"},
        {"tabs around everything", "\t[config]\t\r\n\tAutoConnect\t=\t1\t\r\n", "config",
         "AutoConnect", "d", "1"},
        {"blanks around the asked names", config + "AutoConnect=1\r\n", "  config ",
         " AutoConnect  ", "d", "1"},
        {"duplicate section, key in the second", config + "A=1\r\n[other]\r\n" + config + "B=2\r\n",
         "config", "B", "d", "d"},
        {"duplicate section, key in both", config + "A=1\r\n" + config + "A=2\r\n", "config", "A",
         "d", "1"},
        {"duplicate key", config + "A=1\r\nA=2\r\n", "config", "A", "d", "1"},
        {"double quotes", config + "A=\"1\"\r\n", "config", "A", "d", "1"},
        {"single quotes", config + "A='1'\r\n", "config", "A", "d", "1"},
        {"quotes kept inside", config + "A=\" 1 \"\r\n", "config", "A", "d", " 1 "},
        {"blanks outside quotes", config + "A=  \"1\"  \r\n", "config", "A", "d", "1"},
        {"mismatched quotes", config + "A=\"1'\r\n", "config", "A", "d", "\"1'"},
        {"opening quote only", config + "A=\"1\r\n", "config", "A", "d", "\"1"},
        {"closing quote only", config + "A=1\"\r\n", "config", "A", "d", "1\""},
        {"lone quote", config + "A=\"\r\n", "config", "A", "d", "\""},
        {"empty quotes", config + "A=\"\"\r\n", "config", "A", "d", ""},
        {"quote inside quotes", config + "A=\"a\"b\"\r\n", "config", "A", "d", "a\"b"},
        {"two quoted parts", config + "A='a' 'b'\r\n", "config", "A", "d", "a' 'b"},
        {"line without equals", config + "AutoConnect\r\n", "config", "AutoConnect", "d", "d"},
        {"blank lines", "\r\n\r\n" + config + "\r\n\r\n  \r\nA=1\r\n\r\n", "config", "A", "d", "1"},
        {"comment line", config + ";A=1\r\n", "config", "A", "d", "d"},
        {"comment line read as a key", config + ";A=1\r\n", "config", ";A", "d", "1"},
        {"comment after a value", config + "A=1 ; on\r\n", "config", "A", "d", "1 ; on"},
        {"no final line end", config + "A=1", "config", "A", "d", "1"},
        {"LF line ends", "[config]\nA=1\nB=2\n", "config", "B", "d", "2"},
        {"lone CR line ends", "[config]\rA=1\rB=2", "config", "B", "d", "2"},
        {"LF CR line ends", "[config]\n\rA=1\n\rB=2\n\r", "config", "B", "d", "2"},
        {"Windows-1252 value", config + "A=\xE9t\xE9 \x80 \x9C\r\n", "config", "A", "d", "été € œ"},
        {"undefined Windows-1252 bytes", config + "A=\x81\x8D\x8F\x90\x9D\r\n", "config", "A", "d",
         "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"no-break spaces around a value",
         config + "A=\xA0"
                  "1\xA0\r\n",
         "config", "A", "d",
         "\xC2\xA0"
         "1\xC2\xA0"},
        {"vertical tab and form feed around a value", config + "A=\v1\f\r\n", "config", "A", "d",
         "1"},
        {"ellipsis is not a blank",
         config + "A=\x85"
                  "1\x85\r\n",
         "config", "A", "d", "…1…"},
        {"end-of-file mark", config + "A=1\x1A", "config", "A", "d", "1"},
        {"NUL inside a value", config + std::string("A=ab\0cd\r\n", 9), "config", "A", "d", "ab"},
        {"value of 2047 characters", config + "A=" + x2047 + "\r\n", "config", "A", "d", x2047},
        {"value of 2048 characters", config + "A=" + x2048 + "\r\n", "config", "A", "d", x2047},
        {"line longer than the buffer", config + "A=" + x3000 + "\r\nB=2\r\n", "config", "B", "d",
         "2"},
        {"value longer than the buffer", config + "A=" + x3000 + "\r\n", "config", "A", "d", x2047},
        {"quoted value of 2048 characters", config + "A=\"" + x2046 + "\"\r\n", "config", "A", "d",
         x2046},
        {"quoted value of 2049 characters", config + "A=\"" + x2047 + "\"\r\n", "config", "A", "d",
         x2046},
        {"quoted value of 2050 characters", config + "A=\"" + x2048 + "\"\r\n", "config", "A", "d",
         x2047},
        {"section header with trailing text", "[config] trailing\r\nA=1\r\n", "config", "A", "d",
         "1"},
        {"section header with two closing brackets", "[config]]\r\nA=1\r\n", "config", "A", "d",
         "d"},
        {"section header and key on one line", "[config]A=1\r\n", "config", "A", "d", "d"},
        {"section header without closing bracket", "[other]\r\n[config\r\nA=1\r\n", "config", "A",
         "d", "d"},
        {"blanks inside the brackets", "[ config ]\r\nA=1\r\n", "config", "A", "d", "1"},
        {"tabs inside the brackets", "[\tconfig\t]\r\nA=1\r\n", "config", "A", "d", "1"},
        {"blanks inside the section name", "[con fig]\r\nA=1\r\n", "config", "A", "d", "d"},
        {"key with blanks inside", config + "Auto Connect=1\r\n", "config", "Auto Connect", "d",
         "1"},
        {"key with blanks inside, asked without", config + "Auto Connect=1\r\n", "config",
         "AutoConnect", "d", "d"},
        {"empty value", config + "A=\r\n", "config", "A", "d", ""},
        {"blank value", config + "A=   \r\n", "config", "A", "d", ""},
        {"value containing equals", config + "A=b=c\r\n", "config", "A", "d", "b=c"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[config]\r\nA=\xC3\xA9\r\n", "config", "A", "d",
         "é"},
        // The system turns some other characters into look-alikes ("∞" into "8", wide
        // blanks into " "); the portable reader does not, and gives "?" for every one.
        {"UTF-8 byte-order mark, character outside Windows-1252",
         "\xEF\xBB\xBF[config]\r\nA=\xE2\x82\xAC\xE4\xB8\xAD\r\n", "config", "A", "d", "€?"},
        {"UTF-16 byte-order mark", std::string("\xFF\xFE[\0c\0]\0\r\0\n\0A\0=\0\xE9\0", 18), "c",
         "A", "d", "é"},
        {"fallback loses trailing blanks", config, "config", "A", "d  ", "d"},
        {"blank fallback keeps one blank", config, "config", "A", "   ", " "},
        {"quoted fallback", config, "config", "A", "'d'", "d"},
        {"fallback in Windows-1252", config, "config", "A", "défaut", "défaut"},
        {"fallback longer than the buffer", config, "config", "A", x3000, x2047},
        {"missing file", "", "config", "A", "d", "d", Where::NoFile},
        {"missing file, quoted fallback", "", "config", "A", "'d'", "d", Where::NoFile},
        {"missing folder", "", "config", "A", "d", "d", Where::NoFolder},
        {"missing folder, quoted fallback", "", "config", "A", "'d'", "'d'", Where::NoFolder},
        {"a folder, not a file", "", "config", "A", "'d'", "'d'", Where::Folder},
        {"file name in Windows-1252", config + "A=1\r\n", "config", "A", "d", "1", Where::File,
         "Réglages é.ini"},
    };
}

// Makes the row's file (or its absence) in a folder of its own under `root`, and returns the name
// to read, in UTF-8. Each row has its own file, so that no reader can answer from a cache.
inline std::string PrepareProfileCase(const std::filesystem::path& root, std::size_t index,
                                      const ProfileCase& c) {
    namespace fs = std::filesystem;
    const fs::path folder = root / ("row" + std::to_string(index));
    fs::create_directories(folder);
    const std::u8string name(c.fileName.begin(), c.fileName.end());
    fs::path path = folder / fs::path(name);
    switch (c.where) {
    case Where::File:
        std::ofstream(path, std::ios::binary) << c.content;
        break;
    case Where::NoFile:
        break;
    case Where::NoFolder:
        path = folder / "absent" / fs::path(name);
        break;
    case Where::Folder:
        fs::create_directories(path);
        break;
    }
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace tk::testing_profiles
