#include "sync/CorrectionReport.h"

#include "platform/fake/Fake.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>

using tk::SYSTEMTIME;

namespace {

SYSTEMTIME At(std::uint16_t day, std::uint16_t h, std::uint16_t m, std::uint16_t s,
              std::uint16_t ms = 0, std::uint16_t month = 3, std::uint16_t year = 2024) {
    return {year, month, 0, day, h, m, s, ms};
}

struct ReportCase {
    const char* name;
    SYSTEMTIME before;
    SYSTEMTIME after;
    bool corrigeDate;
    CorrectionParts counts;
    const char* text; // "" when on time
};

// A failing row is named, not dumped as bytes.
void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

const ReportCase reportCases[] = {
    {"BehindByAMinuteAndFive",
     At(10, 10, 0, 0),
     At(10, 10, 1, 5),
     false,
     {0, 0, 1, 5},
     "Le PC retardait de 1 minute 5 secondes."},
    {"AheadByAMinuteAndFive",
     At(10, 10, 1, 5),
     At(10, 10, 0, 0),
     false,
     {0, 0, 1, 5},
     "Le PC avançait de 1 minute 5 secondes."},
    {"TenSecondsIsOnTime", At(10, 9, 0, 0), At(10, 9, 0, 10), false, {0, 0, 0, 10}, ""},
    {"ElevenSecondsIsNot",
     At(10, 9, 0, 11),
     At(10, 9, 0, 0),
     false,
     {0, 0, 0, 11},
     "Le PC avançait de 11 secondes."},
    {"SingularMinuteAndSecond",
     At(10, 9, 0, 0),
     At(10, 9, 1, 1),
     false,
     {0, 0, 1, 1},
     "Le PC retardait de 1 minute 1 seconde."},
    {"NoZeroMinutes",
     At(10, 9, 0, 0),
     At(10, 10, 0, 1),
     false,
     {0, 1, 0, 1},
     "Le PC retardait de 1 heure 1 seconde."},
    {"PluralEverywhere",
     At(10, 9, 0, 0),
     At(10, 11, 2, 2),
     false,
     {0, 2, 2, 2},
     "Le PC retardait de 2 heures 2 minutes 2 secondes."},
    {"MillisecondsIgnored",
     At(10, 8, 15, 30, 900),
     At(10, 6, 15, 30, 100),
     false,
     {0, 2, 0, 0},
     "Le PC avançait de 2 heures."},
    {"SixtySecondsIsAMinute",
     At(10, 9, 0, 0),
     At(10, 9, 1, 0),
     false,
     {0, 0, 1, 0},
     "Le PC retardait de 1 minute."},
    {"AnHourExactly",
     At(10, 9, 0, 0),
     At(10, 10, 0, 0),
     false,
     {0, 1, 0, 0},
     "Le PC retardait de 1 heure."},
    {"SameDateKeptAtMidnight",
     At(10, 23, 59, 50),
     At(10, 0, 0, 5),
     false,
     {0, 23, 59, 45},
     "Le PC avançait de 23 heures 59 minutes 45 secondes."},
    {"ADayAhead",
     At(11, 12, 0, 0),
     At(10, 12, 0, 0),
     true,
     {1, 0, 0, 0},
     "Le PC avançait de 1 jour."},
    {"ADayAndSecondsAcrossTwoMidnights",
     At(8, 23, 59, 50),
     At(10, 0, 0, 15),
     true,
     {1, 0, 0, 25},
     "Le PC retardait de 1 jour 25 secondes."},
    {"ThreeDaysFiveHours",
     At(7, 7, 0, 0),
     At(10, 12, 0, 3),
     true,
     {3, 5, 0, 3},
     "Le PC retardait de 3 jours 5 heures 3 secondes."},
    {"TwoWholeDays",
     At(8, 12, 0, 0),
     At(10, 12, 0, 0),
     true,
     {2, 0, 0, 0},
     "Le PC retardait de 2 jours."},
    {"DaysNeverCountedWithoutDateCorrection",
     At(11, 12, 0, 5),
     At(9, 12, 0, 0),
     false,
     {0, 0, 0, 5},
     ""},
    {"EightyYearsDoNotOverflow",
     At(1, 0, 0, 0, 0, 1, 1950),
     At(1, 0, 0, 0, 0, 1, 2030),
     true,
     {29220, 0, 0, 0},
     "Le PC retardait de 29220 jours."},
};

class MeasureCorrectionTest : public testing::TestWithParam<ReportCase> {};

TEST_P(MeasureCorrectionTest, CountsAndSentence) {
    const ReportCase& c = GetParam();
    CorrectionParts parts =
        SplitDuration(tk::SystemTimeToDateTime(c.before), tk::SystemTimeToDateTime(c.after));
    if (!c.corrigeDate)
        parts.Days = 0;
    EXPECT_EQ(parts.Days, c.counts.Days);
    EXPECT_EQ(parts.Hours, c.counts.Hours);
    EXPECT_EQ(parts.Minutes, c.counts.Minutes);
    EXPECT_EQ(parts.Seconds, c.counts.Seconds);

    const TCorrectionReport report = MeasureCorrection(c.before, c.after, c.corrigeDate);
    EXPECT_EQ(report.OnTime, std::string(c.text).empty());
    EXPECT_EQ(report.CorrectionText, c.text);
}

INSTANTIATE_TEST_SUITE_P(Examples, MeasureCorrectionTest, testing::ValuesIn(reportCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockDifferenceTest, IsSymmetricAndWhole) {
    const double a = tk::SystemTimeToDateTime(At(10, 9, 0, 0, 999));
    const double b = tk::SystemTimeToDateTime(At(12, 8, 0, 0, 1));
    EXPECT_EQ(ClockDifference(a, b), 2 * 86400 - 3600);
    EXPECT_EQ(ClockDifference(b, a), ClockDifference(a, b));
}

TEST(ClockDifferenceTest, FailureGivesFourZeroCounts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ClockDifference(nan, 1.0), -1);
    const CorrectionParts parts = SplitDuration(nan, 1.0);
    EXPECT_EQ(parts.Days + parts.Hours + parts.Minutes + parts.Seconds, 0);
}

class ReportCorrectionTest : public testing::Test {
protected:
    void SetUp() override { tk::fake::Reset(); }
    static std::vector<std::string> Shown() {
        std::vector<std::string> shown;
        for (const auto& d : tk::fake::Dialogs())
            shown.push_back(d.caption + ": " + d.text);
        return shown;
    }
};

TEST_F(ReportCorrectionTest, DialogsByOutcome) {
    const SYSTEMTIME before = At(10, 10, 0, 0);
    const SYSTEMTIME twoHoursLater = At(10, 12, 0, 0);
    const SYSTEMTIME fiveSecondsLater = At(10, 10, 0, 5);
    const TSettings visible;

    ReportCorrection(before, twoHoursLater, visible, true);
    ReportCorrection(before, fiveSecondsLater, visible, true);
    ReportCorrection(before, twoHoursLater, visible, false);
    // Refused but on time: the on-time message claims no correction, so it stays.
    ReportCorrection(before, fiveSecondsLater, visible, false);

    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "Information: Le PC retardait de 2 heures.\rLa correction a été faite.",
                           "Information: Le PC était parfaitement à l'heure !",
                           "Erreur: Le PC retardait de 2 heures.\rLa correction a été refusée par "
                           "le système (droits d'administrateur requis).",
                           "Information: Le PC était parfaitement à l'heure !",
                       }));
}

TEST_F(ReportCorrectionTest, SilentModeMeasuresTheSameAndShowsNothing) {
    TSettings silent;
    silent.SilentMode = true;
    const TCorrectionReport quiet =
        ReportCorrection(At(10, 10, 0, 0), At(10, 12, 0, 0), silent, true);
    const TCorrectionReport shown =
        ReportCorrection(At(10, 10, 0, 0), At(10, 12, 0, 0), TSettings{}, true);
    EXPECT_EQ(quiet.OnTime, shown.OnTime);
    EXPECT_EQ(quiet.CorrectionText, shown.CorrectionText);
    EXPECT_EQ(tk::fake::Dialogs().size(), 1u);
}

} // namespace
