#include "reports/PumpStatusReport.h"
#include "reports/PumpStatusData.h"
#include "reports/ReportContext.h"
#include "storage/BasilRateTable.h"
#include "storage/Conversions.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/QbScheduleRows.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

namespace {

// A logbook with the pump's and the calculator's tables; the period ends at noon on
// 10 March 2024.
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

    void addBasal(const char* time, const char* amount) {
        BasilRate rate;
        rate.setStartTime(time);
        rate.setBasilMedAmt(amount);
        EXPECT_TRUE(BasilRateTable::save(*db, rate));
    }
    // An entry at a timestamp, a site change unless told otherwise.
    void entry(const char* time, bool siteChange = true) {
        addEntry(time, 120, [=](Sample& e) { e.setNewSiteBol(siteChange); });
    }

    PumpStatusData gather(int weeks) {
        TestLogbookContext context(*db, prompts, end());
        return PumpStatusData::gather(context, end(), weeks);
    }

    // The site changes a line each: date | time | duration.
    static QStringList sites(const PumpStatusData& data) {
        QStringList lines;
        for (const auto& change : data.siteChanges)
            lines << change.date + " | " + change.time + " | " + change.duration;
        return lines;
    }
};

TEST_F(PumpStatusTest, InsulinLineNamesTheBolusInsulinAndItsDuration) {
    addMedication("Humalog", "H");
    EXPECT_EQ(gather(6).insulinText,
              "Using *Unknown* [] insulin with a duration of 0 hours and 0 minutes"); // no settings
    const std::tuple<const char*, int, const char*> cases[] = {
        {"H", 180, "Using Humalog [H] insulin with a duration of 3 hours and 0 minutes"},
        {"H", 200, "Using Humalog [H] insulin with a duration of 3 hours and 20 minutes"},
        {"H", 59, "Using Humalog [H] insulin with a duration of 0 hours and 59 minutes"},
        {"N", 240, "Using *Unknown* [N] insulin with a duration of 4 hours and 0 minutes"},
    };
    for (const auto& [code, minutes, expected] : cases) {
        storeQbPreference(*db, code, minutes, true);
        EXPECT_EQ(gather(6).insulinText, expected);
    }
    const PumpStatusData data = gather(2);
    EXPECT_EQ(data.title, "Ann's RivezAdozu and Infustion Site Report");
    EXPECT_EQ(data.periodText, "February 25, 2024 through March 10, 2024");
}

TEST_F(PumpStatusTest, SchedulesInTimeOrderAndNoneOnFile) {
    addQbTarget(*db, "18:30", 100, 160);
    addQbTarget(*db, "06:00", 80, 120);
    const int gone = addQbTarget(*db, "12:00", 90, 140, 7);
    ASSERT_TRUE(QbTargetTable::removeByPk(*db, gone)); // known to the handheld: marked deleted
    addQbRatio(*db, "11:30", 12);
    addQbRatio(*db, "06:00", 15);
    addBasal("00:00", "0.85");
    addBasal("02:30", "1.1");

    auto rows = [](const PumpStatusData::Column& column) {
        QStringList texts{column.heading};
        for (const auto& row : column.rows)
            texts << row.time + " " + row.value;
        return texts.join(" / ");
    };
    PumpStatusData data = gather(6);
    EXPECT_EQ(rows(data.columns[0]), "Basil Rates / 00:00 0.85 / 02:30 1.1");
    EXPECT_EQ(rows(data.columns[1]), "Glucose Targets / 06:00 80 to 120 / 18:30 100 to 160");
    EXPECT_EQ(rows(data.columns[2]), "Carb Ratio @ 1u / 06:00 15 / 11:30 12");
    EXPECT_EQ(rows(data.columns[3]), "Sensitivity @ 1u"); // printed as "* None on file *"

    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    data = gather(6);
    EXPECT_EQ(rows(data.columns[1]), "Glucose Targets / 6:00 am 80 to 120 / 6:30 pm 100 to 160");
    EXPECT_EQ(rows(data.columns[0]), "Basil Rates / 12:00 am 0.85 / 2:30 am 1.1");
}

TEST_F(PumpStatusTest, SiteChangesNewestFirstWithTheTimeEachSiteWasUsed) {
    entry("20240301080000");
    entry("20240302090000", false);
    entry("20240304200000");
    entry("20240307080000");
    EXPECT_EQ(sites(gather(2)),
              (QStringList{"Thu Mar, 07 | 08:00 | ", "Mon Mar, 04 | 20:00 | 2 days 12 hrs",
                           "Fri Mar, 01 | 08:00 | 3 days 12 hrs"}));
    EXPECT_EQ(PumpStatusData::durationText(0, 86399), "0 days 23 hrs");
    EXPECT_EQ(PumpStatusData::durationText(0, 3 * 86400 + 7200), "3 days 2 hrs");
}

TEST_F(PumpStatusTest, PeriodReachesADayBeforeItsWeeksAndNotPastTheFirstOlderChange) {
    entry("20240312070000"); // after the end: still listed
    entry("20240224120000"); // 15 days before the end, to the second
    entry("20240224115959"); // just before: ends the list
    entry("20240220080000"); // older still
    const int deleted = addEntry("20240305100000", 99, [](Sample& e) { e.setNewSiteBol(true); });
    ASSERT_TRUE(db->exec(
        qPrintable(QString("update SAMPLE set SYNC_STATE = 30 where PK = %1").arg(deleted))));
    EXPECT_EQ(sites(gather(2)),
              (QStringList{"Tue Mar, 12 | 07:00 | ", "Sat Feb, 24 | 12:00 | 16 days 19 hrs"}));
    EXPECT_EQ(gather(1).siteChanges.size(), 1u); // 8 days back: only the one after the end
    EXPECT_EQ(gather(3).siteChanges.size(), 4u);
}

// The report drawn on a recording surface; the pass has started the first page in portrait.
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
    addQbRatio(*db, "17:00", 10);
    addQbSensitivity(*db, "00:00", 40);
    for (int i = 0; i < 14; ++i)
        entry(qPrintable(toDateTimeText(end() - i * 3 * 86400 - i % 3 * 6 * 3600)));
    EXPECT_EQ(print(ReportStyle::color, 4), 1);
    ASSERT_EQ(surface.pageCount(), 1);
    EXPECT_EQ(surface.page(0).orientation, QPageLayout::Portrait);
    EXPECT_TRUE(surface.page(0).findText("* None on file *")); // no basal rates
    expectGoldenFile(surface.dump(), "reports/pump_status_color.txt");
}

TEST_F(PumpStatusReportTest, SiteChangesBeyondTheGridGoOnOverTheNextPage) {
    // 35 changes: 30 fill the grid of the first page, five go on to the second.
    for (int i = 0; i < 35; ++i)
        entry(qPrintable(toDateTimeText(end() - i * 86400 - 3600)));
    EXPECT_EQ(print(ReportStyle::greyscale, 7), 2);
    ASSERT_EQ(surface.pageCount(), 2);
    auto changesOn = [&](int page) {
        return std::count_if(surface.page(page).texts.begin(), surface.page(page).texts.end(),
                             [](const RecordedText& t) { return t.text == "11:00"; });
    };
    EXPECT_EQ(changesOn(0), 30);
    EXPECT_EQ(changesOn(1), 5);
    const RecordedPage& second = surface.page(1);
    EXPECT_EQ(second.orientation, QPageLayout::Portrait);
    EXPECT_TRUE(second.findText("Ann's RivezAdozu and Infustion Site Report ( continued )"));
    EXPECT_TRUE(second.findText("Infusion Site Changes ( continued )"));
    EXPECT_TRUE(second.findText("Page 8 "));
    EXPECT_TRUE(surface.page(0).findText("Page 7 "));
}

} // namespace
