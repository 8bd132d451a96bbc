#include "reports/BloodPressureData.h"
#include "reports/BloodPressureReport.h"
#include "reports/FoodReport.h"
#include "reports/FoodReportData.h"
#include "reports/ReportContext.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

namespace {

// Friday 16 March 2007, 09:05: with one week the period takes vitals after 8 March.
const std::time_t kNow = fromDateTimeText("20070316090500");

// The vital history and the food report, which read the side tables of the patient "Ann".
class SideTableReportTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(BloodPressureTable::createTable(*db));
        ASSERT_TRUE(CarbsTable::createTable(*db));
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
    }

    void vital(const char* time, int systolic, int diastolic, int pulse = 0,
               const char* weight = "", const char* note = "", int state = 10) {
        BloodPressure bp;
        bp.setBpTime(time);
        bp.setSystolic(systolic);
        bp.setDiastolic(diastolic);
        bp.setPulse(pulse);
        bp.setWeight(weight);
        if (*note)
            bp.setNotePk(addNote(note, NoteType::Vital));
        ASSERT_TRUE(BloodPressureTable::save(*db, bp, state));
    }
    // The default thresholds: systolic 120 / 140, diastolic 80 / 90.
    void fillWeek() {
        vital("20070308235900", 150, 95, 70, "80", "left out");
        vital("20070309000000", 119, 79);
        vital("20070312071500", 120, 80, 64, "81.5", "After the run\nslept badly");
        vital("20070315193000", 140, 90, 72, "82", "Dizzy");
        vital("20070314080000", 139, 89, 0, "", "");
        vital("20070313080000", 180, 110, 90, "", "", 30); // deleted
    }
    void food(const QString& name, int carbs, int state = 10) {
        Carbs carb;
        carb.setCarbName(name);
        carb.setCarbCnt(carbs);
        ASSERT_TRUE(CarbsTable::save(*db, carb, state));
    }

    BloodPressureData gather(int weeks) {
        TestLogbookContext context(*db, prompts, kNow);
        return BloodPressureData::gather(context, weeks);
    }
    // The vital history of one week, or the food report.
    int print(RecordingSurface& surface, QPageLayout::Orientation orientation, ReportStyle style,
              bool foods = false) {
        TestLogbookContext context(*db, prompts, kNow);
        ReportContext reportContext{context, QStringLiteral("4.1.0.0")};
        EXPECT_TRUE(surface.startPage(orientation));
        const int pages = foods ? FoodReport(reportContext).print(surface, style, 1)
                                : BloodPressureReport(reportContext).print(surface, 1, style, 1);
        EXPECT_TRUE(surface.finish());
        return pages;
    }
    // A4 at 300 dpi whose printable area ends 1200 units down: 14 rows a column.
    static RecordingSurface::Device shortPage() {
        return {300, {2480, 3508}, 1 << 24, QRect(0, 0, 2480, 1200)};
    }
    static int count(const RecordedPage& page, const QString& text) {
        return static_cast<int>(page.textList().count(text));
    }
};

} // namespace

TEST_F(SideTableReportTest, GathersTheWeekNewestFirstWithClassesPulseAndNotes) {
    fillWeek();
    const BloodPressureData data = gather(1);
    EXPECT_EQ(data.title, "Ann's Vital History");
    EXPECT_EQ(data.periodText, "March 09, 2007 through March 16, 2007");
    EXPECT_EQ(data.after, "2007030899999999");
    // P plain, M moderate, H high: each threshold counts from its own value up.
    QStringList rows;
    for (const auto& r : data.rows)
        rows << QString("%1|%2%3|%4%5|%6|%7|%8")
                    .arg(r.time)
                    .arg(r.systolic)
                    .arg("PMH"[int(r.systolicClass)])
                    .arg(r.diastolic)
                    .arg("PMH"[int(r.diastolicClass)])
                    .arg(r.pulse, r.weight, r.hasNote ? "note" : "-");
    EXPECT_EQ(
        rows,
        QStringList({"Thu Mar 15 19:30|140H|90H|72|82|note", "Wed Mar 14 08:00|139M|89M|||-",
                     "Mon Mar 12 07:15|120M|80M|64|81.5|note", "Fri Mar 09 00:00|119P|79P|||-"}));
    EXPECT_EQ(data.notes, "\nMar 15 19:30 Dizzy\nMar 12 07:15 After the run\nslept badly");
    EXPECT_EQ(gather(2).rows.back().time, "Thu Mar 08 23:59");
}

TEST_F(SideTableReportTest, PortraitPageInColour) {
    fillWeek();
    RecordingSurface surface;
    EXPECT_EQ(print(surface, QPageLayout::Portrait, ReportStyle::color), 1);
    const RecordedPage& page = surface.page(0);
    EXPECT_EQ(count(page, "Date/Time"), 2);
    // A moderate value in blue ink, a high one white on a blue fill.
    EXPECT_EQ(page.findText("120")->color, QColor(0, 0, 255));
    EXPECT_EQ(page.findText("140")->color, QColor(255, 255, 255));
    expectGoldenFile(surface.dump(), "reports/vital_history_portrait.txt");
}

TEST_F(SideTableReportTest, LandscapePageInGreyHasThreeColumns) {
    fillWeek();
    RecordingSurface surface;
    EXPECT_EQ(print(surface, QPageLayout::Landscape, ReportStyle::greyscale), 1);
    const RecordedPage& page = surface.page(0);
    EXPECT_EQ(count(page, "Date/Time"), 3);
    EXPECT_EQ(page.findText("120")->color, QColor(0, 0, 0));
    expectGoldenFile(surface.dump(), "reports/vital_history_landscape.txt");
}

// A short printable area (14 rows a column): the first page takes 28 of forty vitals, the
// second the other 12 and the first notes, the third the rest of the notes.
TEST_F(SideTableReportTest, VitalsAndNotesGoOnToFurtherPortraitPages) {
    for (int i = 0; i < 40; ++i)
        vital(qPrintable(QString::asprintf("200703%02d%02d%02d00", 15 - i / 8, 7 + i % 8, i)),
              110 + i, 70 + i / 2, 60 + i, "",
              i % 3 ? "" : qPrintable(QString("Note %1 ").arg(i).repeated(6 + i)));
    RecordingSurface surface(shortPage());
    ASSERT_EQ(print(surface, QPageLayout::Portrait, ReportStyle::blackAndWhite), 3);
    for (const RecordedPage& page : surface.pages()) {
        EXPECT_EQ(page.orientation, QPageLayout::Portrait);
        for (const RecordedFill& fill : page.fills)
            EXPECT_TRUE(fill.color == Qt::white || fill.color == Qt::black)
                << qPrintable(fill.color.name());
    }
    // Newest first: the 28th vital ends the first page, the 29th heads the second.
    EXPECT_TRUE(surface.page(0).findText("Mon Mar 12 11:28"));
    EXPECT_TRUE(surface.page(1).findText("Mon Mar 12 10:27"));
    EXPECT_FALSE(surface.page(0).findText("Notes"));
    EXPECT_TRUE(surface.page(2).findText("Notes"));
    expectGoldenFile(surface.dump(), "reports/vital_history_pages.txt");
}

TEST_F(SideTableReportTest, FoodsByNameDescendingWithoutTheDeleted) {
    food("Apple", 15);
    food("Rice, 1 cup", 45);
    food("Bread", 12);
    food("Cake", 50, 30);
    TestLogbookContext context(*db, prompts, 0);
    const FoodReportData data = FoodReportData::gather(context);
    EXPECT_EQ(data.title, "Ann's Food Report");
    QStringList foods;
    for (const auto& f : data.foods)
        foods << f.name + "=" + f.count;
    EXPECT_EQ(foods, QStringList({"Rice, 1 cup=45", "Bread=12", "Apple=15"}));
}

TEST_F(SideTableReportTest, AnEmptyListPrintsOnePageOfHeadersAndShadedRows) {
    RecordingSurface surface(shortPage());
    EXPECT_EQ(print(surface, QPageLayout::Portrait, ReportStyle::color, true), 1);
    const RecordedPage& page = surface.page(0);
    EXPECT_EQ(count(page, "Food and Portion"), 2);
    EXPECT_EQ(count(page, "Carb Count"), 2);
    int shaded = 0;
    for (const RecordedFill& fill : page.fills)
        shaded += fill.color == QColor(233, 233, 231);
    EXPECT_EQ(shaded, 2 * 7); // rows 2, 4, ... 14 of each column
    expectGoldenFile(surface.dump(), "reports/food_empty.txt");
}

// Forty foods on the short page: 28 on the first page, in two columns of 14, and 12 on the
// second; a printer that stays landscape gets three columns.
TEST_F(SideTableReportTest, ColumnsAndPagesFollowTheOrientationTheDeviceReports) {
    for (int i = 0; i < 40; ++i)
        food(QString::asprintf("Food %02d", i), i);
    RecordingSurface portrait(shortPage());
    ASSERT_EQ(print(portrait, QPageLayout::Portrait, ReportStyle::blackAndWhite, true), 2);
    const RecordedPage& first = portrait.page(0);
    const RecordedPage& second = portrait.page(1);
    EXPECT_EQ(second.orientation, QPageLayout::Portrait);
    // Food 39 heads the first column, Food 25 the second, Food 11 the second page.
    EXPECT_EQ(first.findText("Food 25")->box.top(), first.findText("Food 39")->box.top());
    EXPECT_GT(first.findText("Food 25")->box.left(), first.findText("Food 39")->box.left());
    EXPECT_EQ(first.findText("Food 26")->box.left(), first.findText("Food 39")->box.left());
    EXPECT_TRUE(first.findText("Food 12"));
    EXPECT_FALSE(first.findText("Food 11"));
    EXPECT_EQ(second.findText("Food 11")->box.top(), first.findText("Food 39")->box.top());
    EXPECT_TRUE(second.findText("Food 00"));
    expectGoldenFile(portrait.dump(), "reports/food_portrait_pages.txt");

    RecordingSurface landscape;
    EXPECT_EQ(print(landscape, QPageLayout::Landscape, ReportStyle::greyscale, true), 1);
    EXPECT_EQ(count(landscape.page(0), "Carb Count"), 3);
    expectGoldenFile(landscape.dump(), "reports/food_landscape.txt");
}
