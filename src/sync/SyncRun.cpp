// The synchronisation run, stage by stage.
#include "sync/SyncRun.h"

#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/SystemTime.h"
#include "sync/ActivityLog.h"
#include "sync/ClockValue.h"
#include "sync/Connection.h"
#include "sync/CorrectionReport.h"

#include <exception>

using namespace tk;

namespace {

// The time text of the Time client read back under the same locale settings; whole seconds.
SYSTEMTIME NewClockValue(const SYSTEMTIME& before, const std::string& timeText) {
    std::uint16_t hour, minute, second, msec;
    DecodeTime(StrToTime(timeText), hour, minute, second, msec);
    return NearestWithTimeOfDay(before, hour, minute, second);
}

} // namespace

void TSyncRun::Execute() {
    Button1.SetEnabled(false); // no second run inside this one

    if (!EnsureConnection(Settings.AutoConnect, Window)) {
        Button1.SetEnabled(true);
        Application->Terminate();
        return;
    }

    ConnFailed = false;
    std::string timeText;
    std::string dayTimeText;
    try {
        timeText = NMTime1.TimeStr();
        if (Settings.CorrigeDate)
            dayTimeText = NMDayTime1.DayTimeText();
    } catch (...) {
        if (!Settings.SilentMode)
            MessageDlg(ConnectionErrorText, TMsgDlgType::mtError, mbOK);
        Button1.SetEnabled(true);
        // A hidden window could never be used for another try.
        if (Settings.SilentMode)
            Application->Terminate();
        return;
    }

    TLogEntry entry;
    try {
        GetSystemTime(entry.After);
        entry.Before = entry.After;
        entry.ConnFailed = ConnFailed;
        if (ConnFailed) {
            if (!Settings.SilentMode)
                MessageDlg(ConnectionErrorText, TMsgDlgType::mtError, mbOK);
        } else {
            entry.After = NewClockValue(entry.Before, timeText);
            const bool accepted = SetSystemTime(entry.After);
            if (accepted)
                NotifyTaskbarTimeChange();
            entry.ClockRefused = !accepted;
            const TCorrectionReport report =
                ReportCorrection(entry.Before, entry.After, Settings, accepted);
            entry.OnTime = report.OnTime;
            entry.CorrectionText = report.CorrectionText;
        }
        DisconnectIfWanted(Settings.AskDisconnect, Settings.AutoDisconnect);
        AppendLogEntry(LogLines, ProgramDir, Settings, entry);
    } catch (const std::exception& e) {
        // Whatever failed after the queries, the program must still end.
        if (!Settings.SilentMode)
            Application->ShowException(e);
    }

    Button1.SetEnabled(true);
    Application->Terminate();
}
