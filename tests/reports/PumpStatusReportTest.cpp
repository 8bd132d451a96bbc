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
};

// What the page would show in each case, a block of lines each: the header lines, a line per
// schedule column (its heading, then "time value" per row) and a line per site change
// ("date | time | duration").
TEST_F(PumpStatusTest, GatheredHeaderSchedulesAndSiteChanges) {
    addMedication("Humalog", "H");
    addQbTarget(*db, "18:30", 100, 160);
    addQbTarget(*db, "06:00", 80, 120);
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, addQbTarget(*db, "12:00", 90, 140, 7)));
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "06:00", 15);
    BasilRate rate;
    rate.setStartTime("02:30");
    rate.setBasilMedAmt("1.1");
    ASSERT_TRUE(BasilRateTable::save(*db, rate));
    // Site changes back to 15 days before the end (2 weeks and a day), to the second.
    for (const char* time : {"20240312070000", "20240307080000", "20240304200000", "20240301080000",
                             "20240224120000", "20240224115959", "20240220080000"})
        siteChange(time);
    siteChange("20240302090000", false);
    const int deleted = addEntry("20240311070000", 99, [](Sample& e) { e.setNewSiteBol(true); });
    ASSERT_TRUE(db->exec(
        qPrintable(QString("update SAMPLE set SYNC_STATE = 30 where PK = %1").arg(deleted))));

    QStringList out;
    const auto dump = [&](const char* label, int weeks) {
        const PumpStatusData data = gather(weeks);
        out << QString("= %1, %2 weeks").arg(label).arg(weeks) << data.title << data.periodText
            << data.insulinText;
        for (const auto& column : data.columns) {
            QStringList texts{column.heading};
            for (const auto& row : column.rows)
                texts << row.time + " " + row.value;
            out << texts.join(" / ");
        }
        for (const auto& change : data.siteChanges)
            out << change.date + " | " + change.time + " | " + change.duration;
    };
    dump("no quick-bolus settings", 2);
    storeQbPreference(*db, "H", 180, true);
    dump("Humalog for 180 minutes", 1);
    storeQbPreference(*db, "H", 200, true);
    dump("Humalog for 200 minutes", 3);
    storeQbPreference(*db, "N", 59, true);
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    dump("a code no medication has, 12-hour clock", 2);
    expectGoldenFile(out, "reports/pump_status_data.txt");
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
