#include "reports/ReportSelection.h"
#include "app/SettingsTree.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"

#include <QTemporaryDir>
#include <tuple>

namespace {

using Field = ReportSelection::WeekField;

// The counts the sheet accepts (value), and the words of a refusal.
const std::tuple<Field, const char*, int, const char*> kWeeksCases[] = {
    {Field::LogWeeks, "1", 1, ""},
    {Field::LogWeeks, "25", 25, ""},
    {Field::LogWeeks, "0", 0, "Please enter an integer between 1 and 25."},
    {Field::LogWeeks, "26", 26, "Please enter an integer between 1 and 25."},
    {Field::LogWeeks, "", 0, "Please enter an integer."},
    {Field::WorksheetWeeks, "99", 99, ""},
    {Field::WorksheetWeeks, "100", 100, "Please enter an integer between 1 and 99."},
};

TEST(ReportSelection, WeekCountsOutsideTheirRangeAreRefused) {
    for (const auto& [field, typed, value, refusal] : kWeeksCases) {
        const ReportSelection::WeekCount count = ReportSelection::parseWeeks(field, typed);
        EXPECT_EQ(std::pair(count.value, count.refusal), std::pair(value, QString(refusal)))
            << typed;
    }
}

// One box ticked at a time: whether the period's and the worksheets' fields are offered.
const std::tuple<bool ReportPrintSettings::*, bool, bool> kTickCases[] = {
    {&ReportPrintSettings::includeDocSummary, true, false},
    {&ReportPrintSettings::includeGlucoseStats, true, false},
    {&ReportPrintSettings::includeDaySummary, true, false},
    {&ReportPrintSettings::includeLogDetail, true, false},
    {&ReportPrintSettings::includeBpLog, true, false},
    {&ReportPrintSettings::includePumpStatus, true, false},
    {&ReportPrintSettings::includeFoodLog, false, false},
    {&ReportPrintSettings::includeWorksheet, false, true},
};

TEST(ReportSelection, ThePeriodIsOfferedForTheReportsThatCoverOne) {
    EXPECT_FALSE(ReportSelection::periodEnabled({}) || ReportSelection::worksheetEnabled({}));
    for (const auto& [box, period, worksheet] : kTickCases) {
        ReportPrintSettings values;
        values.*box = true;
        EXPECT_EQ(std::pair(ReportSelection::periodEnabled(values),
                            ReportSelection::worksheetEnabled(values)),
                  std::pair(period, worksheet));
    }
}

TEST(ReportSelection, APickedDayKeepsTheTimeOfDayAcrossAClockChange) {
    // Berlin moves its clocks on 2026-03-29: the time of day is kept in local time.
    const std::time_t picked =
        ReportSelection::withDate(fromDateTimeText("20260314093000"), 2026, 4, 1);
    EXPECT_EQ(toDateTimeText(picked), "20260401093000");
}

class ReportSelectionStoreTest : public LogbookTest {
protected:
    QTemporaryDir dir;
    SettingsTree tree{dir.filePath("settings.ini"), prompts};
};

TEST_F(ReportSelectionStoreTest, TheStoredChoicesOverrideTheCopyButNotItsDatesStyleOrNotes) {
    ReportPrintSettings copy = ReportPrintSettings::createdAt(1000);
    copy.includeDocSummary = true;
    copy.logWeeks = 3;
    copy.style = ReportStyle::blackAndWhite;
    tree.setUserBool("Ann", "IncludeFoodLog", true);
    tree.setUserInt("Ann", "WorksheetWeekCnt", 4);
    tree.setUserInt("Ann", "LogWeekCnt", 0); // reads as the usual six
    tree.setUserString("Ann", "PatientNotes", QString(300, u'n'));

    ReportSelection selection(tree, "Ann");
    selection.open(copy);
    const ReportPrintSettings& shown = selection.values();
    EXPECT_TRUE(shown.includeFoodLog && !shown.includeDocSummary);
    EXPECT_EQ(std::pair(shown.logWeeks, shown.worksheetWeeks), std::pair(6, 4));
    EXPECT_TRUE(shown.periodEnd == 1000 && shown.worksheetStart == 1000);
    EXPECT_EQ(shown.style, ReportStyle::blackAndWhite);
    EXPECT_EQ(shown.patientNotes, QString(255, u'n')); // the copy had none

    copy.patientNotes = "Typed before";
    selection.open(copy);
    EXPECT_EQ(selection.values().patientNotes, "Typed before");
}

} // namespace
