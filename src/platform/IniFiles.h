// Reading the settings file, in the manner of the Windows profile functions.
#pragma once

#include <cstdint>
#include <string>

namespace tk {

// A read-only view of an INI file. Nothing is read until a value is asked for.
class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }
    // The value of `key` in `section` (names matched regardless of case, blanks around the
    // value removed, at most 2047 characters), or `fallback` when the file, the section or the
    // key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // ReadString, then the integer value rule (TryStrToInt); `fallback` when it does not convert.
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t fallback) const;

private:
    std::string fileName_;
};

// Backend: the system's profile reader (GetPrivateProfileStringA on Windows; elsewhere
// PortableProfileString). Strings are UTF-8; the file is Windows-1252.
std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& fallback);

// The same reads as GetPrivateProfileStringA with a 2048-character buffer, written in portable
// code; it gives what the Windows reader gives for the same file, odd files included.
std::string PortableProfileString(const std::string& fileName, const std::string& section,
                                  const std::string& key, const std::string& fallback);

} // namespace tk
