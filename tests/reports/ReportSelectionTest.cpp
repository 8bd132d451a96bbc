#include "reports/ReportSelection.h"
#include "app/SettingsTree.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"

#include <QTemporaryDir>

namespace {

using Field = ReportSelection::WeekField;

struct WeeksCase {
    Field field;
    const char* typed;
    int value;
    const char* refusal;
};

// The counts the sheet accepts, and the words of a refusal.
const WeeksCase kWeeksCases[] = {
    {Field::LogWeeks, "1", 1, ""},
    {Field::LogWeeks, "25", 25, ""},
    {Field::LogWeeks, "0", 0, "Please enter an integer between 1 and 25."},
    {Field::LogWeeks, "26", 26, "Please enter an integer between 1 and 25."},
    {Field::LogWeeks, "", 0, "Please enter an integer."},
    {Field::WorksheetWeeks, "99", 99, ""},
    {Field::WorksheetWeeks, "100", 100, "Please enter an integer between 1 and 99."},
};

TEST(ReportSelection, WeekCountsOutsideTheirRangeAreRefused) {
    for (const WeeksCase& c : kWeeksCases) {
        const ReportSelection::WeekCount count = ReportSelection::parseWeeks(c.field, c.typed);
        EXPECT_EQ(count.refusal, c.refusal) << c.typed;
        if (count.refusal.isEmpty()) {
            EXPECT_EQ(count.value, c.value) << c.typed;
        }
    }
}

// One box ticked at a time: which fields the page offers.
struct TickCase {
    bool ReportPrintSettings::*box;
    bool period;
    bool worksheet;
};

const TickCase kTickCases[] = {
    {&ReportPrintSettings::includeDocSummary, true, false},
    {&ReportPrintSettings::includeDaySummary, true, false},
    {&ReportPrintSettings::includeLogDetail, true, false},
    {&ReportPrintSettings::includeBpLog, true, false},
    {&ReportPrintSettings::includePumpStatus, true, false},
    {&ReportPrintSettings::includeFoodLog, false, false},
    {&ReportPrintSettings::includeWorksheet, false, true},
};

TEST(ReportSelection, ThePeriodIsOfferedForTheReportsThatCoverOne) {
    EXPECT_FALSE(ReportSelection::periodEnabled({}));
    EXPECT_FALSE(ReportSelection::worksheetEnabled({}));
    for (size_t i = 0; i < std::size(kTickCases); ++i) {
        ReportPrintSettings values;
        values.*kTickCases[i].box = true;
        EXPECT_EQ(ReportSelection::periodEnabled(values), kTickCases[i].period) << i;
        EXPECT_EQ(ReportSelection::worksheetEnabled(values), kTickCases[i].worksheet) << i;
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
    EXPECT_FALSE(shown.includeDocSummary);
    EXPECT_TRUE(shown.includeFoodLog);
    EXPECT_EQ(std::pair(shown.logWeeks, shown.worksheetWeeks), std::pair(6, 4));
    EXPECT_EQ(shown.periodEnd, 1000);
    EXPECT_EQ(shown.worksheetStart, 1000);
    EXPECT_EQ(shown.style, ReportStyle::blackAndWhite);
    EXPECT_EQ(shown.patientNotes, QString(255, u'n')); // the copy had none

    copy.patientNotes = "Typed before";
    selection.open(copy);
    EXPECT_EQ(selection.values().patientNotes, "Typed before");
}

} // namespace
