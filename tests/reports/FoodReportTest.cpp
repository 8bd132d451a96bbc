#include "reports/FoodReport.h"
#include "reports/FoodReportData.h"
#include "reports/ReportContext.h"
#include "storage/CarbsTable.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

namespace {

class FoodReportTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(CarbsTable::createTable(*db));
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
    }

    void food(const QString& name, int carbs, int state = 10) {
        Carbs carb;
        carb.setCarbName(name);
        carb.setCarbCnt(carbs);
        ASSERT_TRUE(CarbsTable::save(*db, carb, state));
    }
    int print(RecordingSurface& surface, QPageLayout::Orientation orientation, ReportStyle style) {
        TestLogbookContext context(*db, prompts, fromDateTimeText("20070316090500"));
        ReportContext reportContext{context, QStringLiteral("4.1.0.0")};
        EXPECT_TRUE(surface.startPage(orientation));
        const int pages = FoodReport(reportContext).print(surface, style, 1);
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

TEST_F(FoodReportTest, FoodsByNameDescendingWithoutTheDeleted) {
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

TEST_F(FoodReportTest, AnEmptyListPrintsOnePageOfHeadersAndShadedRows) {
    RecordingSurface surface(shortPage());
    EXPECT_EQ(print(surface, QPageLayout::Portrait, ReportStyle::color), 1);
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
// second; a printer that stays landscape gets three columns, 48 a page.
TEST_F(FoodReportTest, ColumnsAndPagesFollowTheOrientationTheDeviceReports) {
    for (int i = 0; i < 40; ++i)
        food(QString::asprintf("Food %02d", i), i);
    RecordingSurface portrait(shortPage());
    EXPECT_EQ(print(portrait, QPageLayout::Portrait, ReportStyle::blackAndWhite), 2);
    ASSERT_EQ(portrait.pageCount(), 2);
    const RecordedPage& first = portrait.page(0);
    const RecordedPage& second = portrait.page(1);
    EXPECT_EQ(second.orientation, QPageLayout::Portrait);
    EXPECT_TRUE(second.findText("Page 2 "));
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
    EXPECT_EQ(print(landscape, QPageLayout::Landscape, ReportStyle::greyscale), 1);
    EXPECT_EQ(count(landscape.page(0), "Carb Count"), 3);
    expectGoldenFile(landscape.dump(), "reports/food_landscape.txt");
}
