// Exceptions with the program's French texts, string-to-integer conversion, text encodings and
// file names.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace tk {

// The root of every failure the program reports; Message is the French text shown to the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

// A text that does not convert (integer, date, time), or date/time fields that do not exist.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// File failures: "Impossible d'ouvrir le fichier %s", "Impossible de créer le fichier %s",
// "Erreur d'écriture dans le flux".
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// The integer value rule: leading blanks, then an optional sign and decimal digits, or a hex
// mark ("$", "0x", "0X", "x", "X") and hex digits; nothing after; within signed 32 bits.
bool TryStrToInt(std::string_view text, std::int32_t& value);
// As TryStrToInt; EConvertError "'<text>' n'est pas une valeur entière correcte" on failure.
std::int32_t StrToInt(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// Windows-1252 (the files on disk) <-> UTF-8 (the program's strings). Characters that
// Windows-1252 lacks become "?"; the five bytes it leaves undefined map to U+0081 etc.
std::string AnsiToUtf8(std::string_view cp1252);
std::string Utf8ToAnsi(std::string_view utf8);

// The characters that end a directory in a file name: "\\:" on Windows, "/" elsewhere.
extern const char* const PathDelimiters;
// The file name up to and including its last path delimiter ("" when it has none).
std::string ExtractFilePath(const std::string& fileName);
// The same with the given delimiters, so that either platform's names can be cut anywhere.
std::string ExtractFilePath(const std::string& fileName, std::string_view delimiters);
// True when a file (not a directory) of that name exists. Names are UTF-8. backend
bool FileExists(const std::string& fileName);

} // namespace tk
