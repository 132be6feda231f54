// The activity log.
#include "sync/ActivityLog.h"

#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

using namespace tk;

namespace {
std::string LogFileName(const std::string& ProgramDir) {
    return ProgramDir + "Pendulix.log";
}
} // namespace

TDateTime UtcToLocalDateTime(const SYSTEMTIME& utc) {
    SYSTEMTIME local;
    UtcToLocalSystemTime(utc, local);
    return SystemTimeToDateTime(local);
}

std::string LogLine(const TLogEntry& entry, bool CorrigeDate) {
    std::string line = "Exécution : " + DateTimeToStr(UtcToLocalDateTime(entry.Before));
    const TDateTime after = UtcToLocalDateTime(entry.After);
    if (entry.ConnFailed) {
        line += " - Erreur de connexion au serveur.";
    } else if (entry.OnTime) {
        line += " - PC à l'heure.";
    } else {
        if (CorrigeDate)
            line += " - Nouvelle date : " + DateToStr(after);
        line += " - Nouvelle heure : " + TimeToStr(after) + " - " + entry.CorrectionText;
    }
    if (entry.ClockRefused)
        line += " - Correction refusée par le système.";
    return line;
}

void LoadActivityLog(TStringList& lines, const std::string& ProgramDir, bool& LogFile,
                     bool SilentMode) {
    if (!LogFile)
        return;
    const std::string fileName = LogFileName(ProgramDir);
    if (!FileExists(fileName))
        return;
    try {
        lines.LoadFromFile(fileName);
    } catch (const EStreamError& e) {
        // Writing a shorter list over a log we could not read would lose it.
        LogFile = false;
        if (!SilentMode)
            MessageDlg(e.Message, TMsgDlgType::mtError, mbOK);
    }
}

void AppendLogEntry(TStringList& lines, const std::string& ProgramDir, const TSettings& settings,
                    const TLogEntry& entry) {
    if (!settings.LogFile)
        return;
    if (lines.Count() < LogLineLimit)
        lines.Add(LogLine(entry, settings.CorrigeDate));
    if (lines.Count() == 0)
        return;
    try {
        lines.SaveToFile(LogFileName(ProgramDir));
    } catch (const EStreamError& e) {
        if (!settings.SilentMode)
            MessageDlg(e.Message, TMsgDlgType::mtError, mbOK);
    }
}
