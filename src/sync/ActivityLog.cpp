// The activity log (not kept yet: the program writes no log file).
#include "sync/ActivityLog.h"

void LoadActivityLog(tk::TStringList& /*lines*/, const std::string& /*ProgramDir*/,
                     bool& /*LogFile*/, bool /*SilentMode*/) {}

void AppendLogEntry(tk::TStringList& /*lines*/, const std::string& /*ProgramDir*/,
                    const TSettings& /*settings*/, const TLogEntry& /*entry*/) {}
