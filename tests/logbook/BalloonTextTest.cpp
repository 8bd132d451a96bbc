#include "logbook/BalloonText.h"
#include "storage/Sample.h"
#include "storage/SampleDate.h"
#include "support/GoldenFile.h"

#include <gtest/gtest.h>

// Every balloon text, one case after another, compared with logbook/balloon_texts.txt.
TEST(BalloonTextTest, DaysAndEntries) {
    SampleDate day;
    day.setSampleDate("20070315");
    day.setAvgGlucoseCnt(142);
    day.setTtlCarbCnt(180);
    QStringList lines = QStringList("# a day") << BalloonText::forDay(day).split('\n');
    day.setNotePk(7);
    lines << "# a day with a note" << BalloonText::forDay(day).split('\n');
    // H is an insulin counted in totals, P a pill.
    const MedicationLookup medication = [](QChar code) {
        return code == 'H'   ? std::optional(MedicationFlags{true, true})
               : code == 'P' ? std::optional(MedicationFlags{false, false})
                             : std::nullopt;
    };
    const struct {
        int glucose, carbs, newSite, note, military;
        const char *dose, *correction, *what;
    } cases[] = {
        {142, 60, 0, 0, 1, "5H", "1H", "dose and correction"},
        {0, 45, 0, 0, 1, "", "", "carbs without glucose"},
        {95, 0, 0, 0, 1, "", "", "glucose only"},
        {0, 45, 0, 0, 1, "3.5H", "", "half units"},
        {110, 30, 0, 0, 1, "2P", "", "a pill gives no ratio"},
        {250, 0, 0, 0, 1, "", "1H", "only a correction"},
        {95, 0, 1, 9, 0, "", "", "new site, note, 12-hour clock"},
    };
    for (const auto& c : cases) {
        Sample entry;
        entry.setSampleTime("20070315083000");
        entry.setInsulinTime("20070315083500");
        entry.setGlucoseCnt(c.glucose);
        entry.setCarbCnt(c.carbs);
        entry.setMedicationDosage(c.dose);
        entry.setCorrectionDosage(c.correction);
        entry.setNewSiteBol(c.newSite);
        entry.setNotePk(c.note);
        lines << QString("# ") + c.what
              << BalloonText::forEntry(entry, c.military, medication).split('\n');
    }
    lines << "# long date" << BalloonText::longDate(fromDateText("20261206"));
    expectGoldenFile(lines, "logbook/balloon_texts.txt");
}
