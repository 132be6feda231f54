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
#include "sync/DateCorrection.h"

#include <exception>

using namespace tk;

namespace {

// The value asked of the clock: the server's time of day (its text read back under the locale
// settings that wrote it; whole seconds) on the day nearest to the reading, or on the server's
// date with CorrigeDate.
SYSTEMTIME NewClockValue(const SYSTEMTIME& before, const std::string& timeText,
                         const std::string* dayTimeText) {
    TTimeOfDay server;
    std::uint16_t msec;
    DecodeTime(StrToTime(timeText), server.Hour, server.Minute, server.Second, msec);
    SYSTEMTIME after = NearestWithTimeOfDay(before, server.Hour, server.Minute, server.Second);
    if (dayTimeText != nullptr) {
        DateFromDayTime(*dayTimeText, before, server, after.wYear, after.wMonth, after.wDay);
        after.wDayOfWeek = DayOfWeek(after.wYear, after.wMonth, after.wDay);
    }
    return after;
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
            entry.After = NewClockValue(entry.Before, timeText,
                                        Settings.CorrigeDate ? &dayTimeText : nullptr);
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
