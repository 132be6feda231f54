// The activity log Pendulix.log beside the program: read at start-up, one line per run that
// set the clock, rewritten whole after each such run. Windows-1252 with CR LF on every system.
#pragma once

#include "platform/Classes.h"
#include "platform/DateTime.h"
#include "platform/SystemTime.h"
#include "sync/Settings.h"

#include <cstddef>
#include <string>

// A line is added only while the log holds fewer lines than this.
inline constexpr std::size_t LogLineLimit = 32000;

// What a run hands to its log stage.
struct TLogEntry {
    tk::SYSTEMTIME Before{}; // the clock reading, UTC
    tk::SYSTEMTIME After{};  // the value asked of the clock, UTC
    bool OnTime = false;
    std::string CorrectionText;
    bool ConnFailed = false;
    bool ClockRefused = false;
};

// A UTC clock record as a local date and time.
tk::TDateTime UtcToLocalDateTime(const tk::SYSTEMTIME& utc);

// The log line of a run, in the user's date and time formats.
std::string LogLine(const TLogEntry& entry, bool CorrigeDate);

// Start-up: with LogFile, the log's lines replace `lines`. A log that exists but cannot be
// read is reported (unless SilentMode) and turns LogFile off, so it is never overwritten.
void LoadActivityLog(tk::TStringList& lines, const std::string& ProgramDir, bool& LogFile,
                     bool SilentMode);

// The run's log stage: with LogFile, adds the run's line (below the limit) and rewrites the
// file. A failed rewrite leaves the old file whole and is reported (unless SilentMode).
void AppendLogEntry(tk::TStringList& lines, const std::string& ProgramDir,
                    const TSettings& settings, const TLogEntry& entry);
