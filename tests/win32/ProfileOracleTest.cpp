// The portable profile reader against the system's own (GetPrivateProfileStringA, here Wine's),
// on one table of odd settings files: both must give the same text on every row.
#include "platform/IniFiles.h"

#include "unit/platform/ProfileCases.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tk {
namespace {

namespace fs = std::filesystem;

std::string Shown(const std::string& s) {
    std::string out;
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out.size() > 80 ? out.substr(0, 40) + "...(" + std::to_string(s.size()) + " bytes)"
                           : out;
}

TEST(ProfileOracle, PortableReaderAgreesWithTheSystemReader) {
    const fs::path root = fs::path(testing::TempDir()) / "pendulix-profile-oracle";
    fs::remove_all(root);
    const auto cases = testing_profiles::ProfileCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string file = testing_profiles::PrepareProfileCase(root, i, c);
        const std::string system = ReadProfileString(file, c.section, c.key, c.fallback);
        const std::string portable = PortableProfileString(file, c.section, c.key, c.fallback);
        EXPECT_EQ(Shown(portable), Shown(system)) << "system reader and portable reader differ";
        EXPECT_EQ(Shown(system), Shown(c.expected)) << "the system reader is not as the table says";
    }
    fs::remove_all(root);
}

} // namespace
} // namespace tk
