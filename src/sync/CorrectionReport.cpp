// Measuring and reporting the correction of a run.
#include "sync/CorrectionReport.h"

#include "platform/Dialogs.h"

#include <cmath>
#include <exception>

using namespace tk;

namespace {

constexpr std::int64_t SecondsPerDay = 86400;
constexpr std::int64_t OnTimeToleranceSeconds = 10;

std::int64_t SecondsOfDay(TDateTime value) {
    std::uint16_t hour, min, sec, msec;
    DecodeTime(value, hour, min, sec, msec);
    return hour * 3600 + min * 60 + sec;
}

std::int64_t DayNumber(TDateTime value) {
    return static_cast<std::int64_t>(std::trunc(value));
}

} // namespace

double ClockDifference(TDateTime First, TDateTime Second) {
    if (!std::isfinite(First) || !std::isfinite(Second))
        return -1;
    try {
        const TDateTime earlier = First <= Second ? First : Second;
        const TDateTime later = First <= Second ? Second : First;
        const std::int64_t sE = SecondsOfDay(earlier);
        const std::int64_t sL = SecondsOfDay(later);
        const std::int64_t c = std::llabs(DayNumber(later) - DayNumber(earlier));
        return static_cast<double>(c * SecondsPerDay + sL - sE);
    } catch (const std::exception&) {
        return -1;
    }
}

CorrectionParts SplitDuration(TDateTime Before, TDateTime After) {
    const auto v = static_cast<std::int64_t>(std::llround(ClockDifference(Before, After)));
    if (v == -1)
        return {};
    return {v / SecondsPerDay, (v % SecondsPerDay) / 3600, (v % 3600) / 60, v % 60};
}

TCorrectionReport MeasureCorrection(const SYSTEMTIME& Before, const SYSTEMTIME& After,
                                    bool CorrigeDate) {
    const TDateTime B = SystemTimeToDateTime(Before);
    const TDateTime A = SystemTimeToDateTime(After);
    CorrectionParts parts = SplitDuration(B, A);
    if (!CorrigeDate)
        parts.Days = 0;

    TCorrectionReport report;
    report.OnTime = parts.Days == 0 && parts.Hours == 0 && parts.Minutes == 0 &&
                    parts.Seconds <= OnTimeToleranceSeconds;
    if (report.OnTime)
        return report;

    std::string text;
    auto append = [&text](std::int64_t count, const char* one, const char* many) {
        if (count != 0)
            text += std::to_string(count) + (count <= 1 ? one : many);
    };
    if (CorrigeDate)
        append(parts.Days, " jour ", " jours ");
    append(parts.Hours, " heure ", " heures ");
    append(parts.Minutes, " minute ", " minutes ");
    append(parts.Seconds, " seconde ", " secondes ");
    text.pop_back(); // the blank that ends the last unit word
    text += ".";

    report.CorrectionText = (B >= A ? "Le PC avançait de " : "Le PC retardait de ") + text;
    return report;
}

TCorrectionReport ReportCorrection(const SYSTEMTIME& Before, const SYSTEMTIME& After,
                                   const TSettings& settings, bool clockAccepted) {
    TCorrectionReport report = MeasureCorrection(Before, After, settings.CorrigeDate);
    if (settings.SilentMode)
        return report;
    if (report.OnTime)
        MessageDlg("Le PC était parfaitement à l'heure !", TMsgDlgType::mtInformation, mbOK);
    else if (clockAccepted)
        MessageDlg(report.CorrectionText + "\rLa correction a été faite.",
                   TMsgDlgType::mtInformation, mbOK);
    else
        MessageDlg(report.CorrectionText +
                       "\rLa correction a été refusée par le système (droits d'administrateur "
                       "requis).",
                   TMsgDlgType::mtError, mbOK);
    return report;
}
