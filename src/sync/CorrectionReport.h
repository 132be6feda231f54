// Measuring how far the clock was off, and telling the user in French.
#pragma once

#include "platform/DateTime.h"
#include "platform/SystemTime.h"
#include "sync/Settings.h"

#include <cstdint>
#include <string>

// The distance between two points in whole seconds, milliseconds ignored; the same whatever
// the order of the arguments; -1 when it cannot be computed. Counted in 64 bits.
double ClockDifference(tk::TDateTime First, tk::TDateTime Second);

// A difference split into days, hours (0-23), minutes (0-59) and seconds (0-59).
struct CorrectionParts {
    std::int64_t Days = 0;
    std::int64_t Hours = 0;
    std::int64_t Minutes = 0;
    std::int64_t Seconds = 0;
};
// ClockDifference(Before, After) split; four zero counts when it failed.
CorrectionParts SplitDuration(tk::TDateTime Before, tk::TDateTime After);

// What the report stage leaves for the log stage.
struct TCorrectionReport {
    bool OnTime = false; // within ten seconds of the server's time
    std::string
        CorrectionText; // "Le PC avançait de ..." or "Le PC retardait de ..."; empty when OnTime
};

// Before: the clock reading; After: the value asked of the clock (both UTC). Days are counted
// only with CorrigeDate, since otherwise the run keeps the date.
TCorrectionReport MeasureCorrection(const tk::SYSTEMTIME& Before, const tk::SYSTEMTIME& After,
                                    bool CorrigeDate);

// The report stage: measures, then tells the user (unless SilentMode). `clockAccepted` false:
// the system refused the new value, so an error box says so instead of "La correction a été
// faite.".
TCorrectionReport ReportCorrection(const tk::SYSTEMTIME& Before, const tk::SYSTEMTIME& After,
                                   const TSettings& settings, bool clockAccepted);
