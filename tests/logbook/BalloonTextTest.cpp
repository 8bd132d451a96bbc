#include "logbook/BalloonText.h"
#include "storage/Sample.h"
#include "storage/SampleDate.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

namespace {

// H is an insulin counted in totals, P a pill.
std::optional<MedicationFlags> medication(QChar code) {
    if (code == QLatin1Char('H'))
        return MedicationFlags{true, true};
    if (code == QLatin1Char('P'))
        return MedicationFlags{false, false};
    return std::nullopt;
}

struct EntryCase {
    const char* what;
    int glucose;
    int carbs;
    const char* dose;
    const char* correction;
    bool site;
    int note;
    bool military;
    QStringList lines;
};

} // namespace

TEST(BalloonTextTest, DayShowsItsDateAverageCarbsAndNote) {
    SampleDate day;
    day.setSampleDate("20070315");
    day.setAvgGlucoseCnt(142);
    day.setTtlCarbCnt(180);
    EXPECT_EQ(BalloonText::forDay(day), "Thursday,Mar 15,2007\nAvg Glucose:142\nTotal Carbs:180");
    day.setNotePk(7);
    EXPECT_EQ(BalloonText::forDay(day).split('\n'),
              QStringList(
                  {"Thursday,Mar 15,2007", "Avg Glucose:142", "Total Carbs:180", "** See Notes"}));
}

TEST(BalloonTextTest, EntryLines) {
    const QString when = "Thursday,Mar 15,2007 08:30";
    const EntryCase cases[] = {
        {"worked example",
         142,
         60,
         "5H",
         "1H",
         false,
         0,
         true,
         {when, "Glucose:142 Carbs:60 Ratio:12.0:u", "Medication: 08:35 5H / 1H correction"}},
        {"carbs without glucose", 0, 45, "", "", false, 0, true, {when, "Carbs:45"}},
        {"glucose only", 95, 0, "", "", false, 0, true, {when, "Glucose:95"}},
        {"half units",
         0,
         45,
         "3.5H",
         "",
         false,
         0,
         true,
         {when, "Carbs:45 Ratio:12.9:u", "Medication: 08:35 3.5H"}},
        {"a pill gives no ratio",
         110,
         30,
         "2P",
         "",
         false,
         0,
         true,
         {when, "Glucose:110 Carbs:30", "Medication: 08:35 2P"}},
        {"only a correction",
         250,
         0,
         "",
         "1H",
         false,
         0,
         true,
         {when, "Glucose:250", "Medication: 08:35 1H correction"}},
        {"site, note, 12-hour clock",
         95,
         0,
         "",
         "",
         true,
         9,
         false,
         {"Thursday,Mar 15,2007 8:30 am", "Glucose:95", "New Infusion site", "** See Notes"}},
    };
    for (const EntryCase& c : cases) {
        Sample entry;
        entry.setSampleTime("20070315083000");
        entry.setInsulinTime("20070315083500");
        entry.setGlucoseCnt(c.glucose);
        entry.setCarbCnt(c.carbs);
        entry.setMedicationDosage(c.dose);
        entry.setCorrectionDosage(c.correction);
        entry.setNewSiteBol(c.site);
        entry.setNotePk(c.note);
        EXPECT_EQ(BalloonText::forEntry(entry, c.military, medication).split('\n'), c.lines)
            << c.what;
    }
}

TEST(BalloonTextTest, LongDateUsesEnglishNames) {
    EXPECT_EQ(BalloonText::longDate(fromDateText("20261206")), "Sunday,Dec 06,2026");
}
