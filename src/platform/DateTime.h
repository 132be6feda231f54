// Dates and times: TDateTime values, their encoding and decoding, and their text in the
// user's locale formats (read once at start).
#pragma once

#include "platform/SystemTime.h"

#include <cstdint>
#include <string>

namespace tk {

// Days since 1899-12-30 00:00. The whole part, truncated toward zero, is the day number; the
// absolute fraction is the time of day (0.5 = noon), decoded by rounding it times 86,400,000
// to the nearest millisecond.
using TDateTime = double;

// The user's formats, as Windows locale pictures:
//   date: d dd M MM yy yyyy;  time: h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (marker);
//   text in single quotes, and any other character, stands as it is.
// The marker's position and the separators are those of the picture.
struct TFormatSettings {
    std::string ShortDateFormat = "dd/MM/yyyy";
    std::string LongTimeFormat = "HH:mm:ss";
    std::string TimeAMString = "AM"; // morning marker (hours 0-11)
    std::string TimePMString = "PM"; // afternoon marker (hours 12-23)
};

// The process's formats: set once by Application->Initialize() from the user's locale
// (GetLocaleInfo on Windows, LC_TIME on Linux; French defaults for the fake backend).
extern TFormatSettings FormatSettings;
// Backend: reads the user's locale into FormatSettings.
void LoadFormatSettings();

// EConvertError "Argument incorrect pour l'encodage de date" when the date does not exist
// (year 1-9999, month 1-12, day within the month).
TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);
bool TryEncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day, TDateTime& date);
// EConvertError "Argument incorrect pour l'encodage de l'heure" outside 0-23, 0-59, 0-59, 0-999.
TDateTime EncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec);
void DecodeDate(TDateTime value, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
void DecodeTime(TDateTime value, std::uint16_t& hour, std::uint16_t& min, std::uint16_t& sec,
                std::uint16_t& msec);

// Encoded date plus encoded time of day; the day of week is ignored. EConvertError as
// EncodeDate for a date that does not exist.
TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);

// Text in the user's formats (seconds shown whole: milliseconds cut, not rounded).
std::string TimeToStr(TDateTime value, const TFormatSettings& fs = FormatSettings);
std::string DateToStr(TDateTime value, const TFormatSettings& fs = FormatSettings);
// Short date, then one blank and the long time unless the time of day is 00:00:00.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& fs = FormatSettings);

// Reads a time of day written in the long time format. EConvertError
// "'<text>' n'est pas une heure correcte" for a text that is not a time.
TDateTime StrToTime(const std::string& text, const TFormatSettings& fs = FormatSettings);

} // namespace tk
