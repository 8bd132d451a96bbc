#include "reports/PumpStatusReport.h"
#include "reports/PumpStatusData.h"
#include "reports/ReportContext.h"
#include "storage/BasilRateTable.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/QbScheduleRows.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

namespace {

// The pump's and the calculator's tables; the period ends at noon on 10 March 2024.
class PumpStatusTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        for (bool created : {BasilRateTable::createTable(*db), QbRatioTable::createTable(*db),
                             QbSensitivityTable::createTable(*db)})
            ASSERT_TRUE(created);
        changePreference([](Preference& p) {
            p.setPatientName("Ann");
            p.setMilitaryTimeBol(true);
        });
    }
    static std::time_t end() { return fromDateTimeText("20240310120000"); }
    void siteChange(const QString& time, bool changed = true) {
        addEntry(time, 120, [=](Sample& e) { e.setNewSiteBol(changed); });
    }
    PumpStatusData gather(int weeks) {
        TestLogbookContext context(*db, prompts, end());
        return PumpStatusData::gather(context, end(), weeks);
    }
    // "date | time | duration" per change, or "heading / time value / ..." per column.
    QStringList sites(int weeks) {
        QStringList lines;
        for (const auto& change : gather(weeks).siteChanges)
            lines << change.date + " | " + change.time + " | " + change.duration;
        return lines;
    }
    QStringList columns() {
        QStringList lines;
        for (const auto& column : gather(6).columns) {
            QStringList texts{column.heading};
            for (const auto& row : column.rows)
                texts << row.time + " " + row.value;
            lines << texts.join(" / ");
        }
        return lines;
    }
};

TEST_F(PumpStatusTest, InsulinLineNamesTheBolusInsulinAndItsDuration) {
    addMedication("Humalog", "H");
    EXPECT_EQ(gather(6).insulinText,
              "Using *Unknown* [] insulin with a duration of 0 hours and 0 minutes"); // no settings
    for (const auto& [code, minutes, expected] :
         {std::tuple("H", 180,
                     "Using Humalog [H] insulin with a duration of 3 hours and 0 minutes"),
          {"H", 200, "Using Humalog [H] insulin with a duration of 3 hours and 20 minutes"},
          {"N", 59, "Using *Unknown* [N] insulin with a duration of 0 hours and 59 minutes"}}) {
        storeQbPreference(*db, code, minutes, true);
        EXPECT_EQ(gather(6).insulinText, expected);
    }
    EXPECT_EQ(
        gather(2).title + " " + gather(2).periodText,
        "Ann's RivezAdozu and Infustion Site Report February 25, 2024 through March 10, 2024");
}

TEST_F(PumpStatusTest, SchedulesInTimeOrderWithoutDeletedRows) {
    addQbTarget(*db, "18:30", 100, 160);
    addQbTarget(*db, "06:00", 80, 120);
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, addQbTarget(*db, "12:00", 90, 140, 7)));
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "06:00", 15);
    BasilRate rate;
    rate.setStartTime("02:30");
    rate.setBasilMedAmt("1.1");
    ASSERT_TRUE(BasilRateTable::save(*db, rate));
    EXPECT_EQ(columns(), (QStringList{"Basil Rates / 02:30 1.1",
                                      "Glucose Targets / 06:00 80 to 120 / 18:30 100 to 160",
                                      "Carb Ratio @ 1u / 06:00 15 / 11:30 12",
                                      "Sensitivity @ 1u"})); // printed "* None on file *"
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    EXPECT_EQ(columns()[1], "Glucose Targets / 6:00 am 80 to 120 / 6:30 pm 100 to 160");
}

// Newest first, each with the time its site was used until the next change; back to 15 days
// (2 weeks and a day) before the end, to the second, and not cut off after the end.
TEST_F(PumpStatusTest, SiteChangesOfThePeriodNewestFirstWithTheirDurations) {
    for (const char* time : {"20240312070000", "20240307080000", "20240304200000", "20240301080000",
                             "20240224120000", "20240224115959", "20240220080000"})
        siteChange(time);
    siteChange("20240302090000", false);
    const int deleted = addEntry("20240311070000", 99, [](Sample& e) { e.setNewSiteBol(true); });
    ASSERT_TRUE(db->exec(
        qPrintable(QString("update SAMPLE set SYNC_STATE = 30 where PK = %1").arg(deleted))));
    EXPECT_EQ(
        sites(2),
        (QStringList{"Tue Mar, 12 | 07:00 | ", "Thu Mar, 07 | 08:00 | 4 days 23 hrs",
                     "Mon Mar, 04 | 20:00 | 2 days 12 hrs", "Fri Mar, 01 | 08:00 | 3 days 12 hrs",
                     "Sat Feb, 24 | 12:00 | 5 days 20 hrs"}));
    EXPECT_EQ(sites(1).size(), 3); // from 2 March, noon
}

// Drawn on a recording surface, on the portrait page the pass has started.
class PumpStatusReportTest : public PumpStatusTest {
protected:
    int print(ReportStyle style, int pageNumber) {
        EXPECT_TRUE(surface.startPage(QPageLayout::Portrait));
        TestLogbookContext context(*db, prompts, end());
        const int pages = PumpStatusReport(ReportContext{context, "4.1.0.0"})
                              .print(surface, end(), 6, style, pageNumber);
        EXPECT_TRUE(surface.finish());
        return pages;
    }
    RecordingSurface surface;
};

TEST_F(PumpStatusReportTest, OnePortraitPage) {
    addMedication("Humalog", "H");
    storeQbPreference(*db, "H", 200, true);
    addQbTarget(*db, "06:00", 80, 120);
    addQbTarget(*db, "22:00", 100, 150);
    addQbRatio(*db, "06:00", 15);
    addQbRatio(*db, "11:30", 12);
    addQbSensitivity(*db, "00:00", 40);
    for (int i = 0; i < 14; ++i)
        siteChange(toDateTimeText(end() - i * 3 * 86400 - i % 3 * 6 * 3600));
    EXPECT_EQ(print(ReportStyle::color, 4), 1);
    expectGoldenFile(surface.dump(), "reports/pump_status_color.txt");
}

TEST_F(PumpStatusReportTest, SiteChangesBeyondTheGridGoOnOverTheNextPage) {
    for (int i = 0; i < 35; ++i) // 30 cells on the first page, 5 on the second
        siteChange(toDateTimeText(end() - i * 86400 - 3600));
    EXPECT_EQ(print(ReportStyle::greyscale, 7), 2);
    QStringList shown;
    for (const RecordedPage& page : surface.pages())
        shown << QString::number(page.orientation) + " " +
                     page.textList().filter("Page ").join("") +
                     QString::number(page.textList().count("11:00")) +
                     page.textList().filter("continued").join("|");
    EXPECT_EQ(shown, (QStringList{"0 Page 7 30", "0 Page 8 5Ann's RivezAdozu and Infustion Site "
                                                 "Report ( continued )|Infusion Site Changes "
                                                 "( continued )"}));
}

} // namespace
