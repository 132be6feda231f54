// The activity log Pendulix.log beside the program: read at start-up, one line per run that
// set the clock, rewritten whole after each such run.
#pragma once

#include "platform/Classes.h"
#include "platform/SystemTime.h"
#include "sync/Settings.h"

#include <string>

// What a run hands to its log stage.
struct TLogEntry {
    tk::SYSTEMTIME Before{}; // the clock reading, UTC
    tk::SYSTEMTIME After{};  // the value asked of the clock, UTC
    bool OnTime = false;
    std::string CorrectionText;
    bool ConnFailed = false;
    bool ClockRefused = false;
};

// Start-up: with LogFile, the log's lines replace `lines`.
void LoadActivityLog(tk::TStringList& lines, const std::string& ProgramDir, bool& LogFile,
                     bool SilentMode);
// The run's log stage: with LogFile, adds the run's line and rewrites the file.
void AppendLogEntry(tk::TStringList& lines, const std::string& ProgramDir,
                    const TSettings& settings, const TLogEntry& entry);
