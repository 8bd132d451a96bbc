#include "reports/LogDetailReport.h"
#include "reports/LogWeekFixture.h"
#include "reports/ReportContext.h"
#include "support/GoldenFile.h"
#include "support/RecordingSurface.h"

namespace {

// Prints through a recording surface; the pass has started the first page, as it would.
class LogDetailReportTest : public LogWeekFixture {
protected:
    int print(bool worksheet, ReportStyle style, int firstPage = 1) {
        return printOn(surface, worksheet, style, firstPage);
    }
    int printOn(RecordingSurface& surface, bool worksheet, ReportStyle style, int firstPage) {
        TestLogbookContext context(*db, prompts, fromDateTimeText("20070316090500"));
        ReportContext reportContext{context, QStringLiteral("4.1.0.0")};
        EXPECT_TRUE(surface.startPage(QPageLayout::Landscape));
        LogDetailReport report(reportContext, "Ann", kWeekDate, style, firstPage, worksheet);
        const int pages = report.print(surface);
        EXPECT_TRUE(surface.finish());
        return pages;
    }
    // A Supper long enough to cross the bottom of the first page, and a bit of everything.
    void fillWeek() {
        changePreference([](Preference& p) {
            p.setGlucoseExtLo(50);
            p.setGlucoseLo(70);
            p.setGlucoseHi(180);
            p.setGlucoseExtHi(250);
        });
        addDay("20070310", [&](SampleDate& d) {
            d.setDayTypeId(0);
            d.setNewSiteBol(true);
            d.setNotePk(addNote("Flu, stayed home all day with a fever", NoteType::Day));
        });
        add({"20070310071000", breakfast, 240, 50, "5H", "1H", "Pizza late", 2});
        add({"20070313073000", breakfast, 45, 30, "4H", "", "", 0, 0, true});
        add({"20070315071500", breakfast, 120, 45, "3.5H"});
        for (int i = 0; i < 42; ++i)
            add({qPrintable(QString::asprintf("200703%02d18%02d00", 9 + i % 2 * 4, i / 2)), supper,
                 40 + 9 * i, 10 * (i % 5), "2H"});
        addProtocol("20070301", "Plan A\r\n1u:12g");
    }

    RecordingSurface surface;
};

} // namespace

TEST_F(LogDetailReportTest, AWeekWhoseSlotCrossesThePageBottom) {
    fillWeek();
    EXPECT_EQ(print(false, ReportStyle::color, 3), 2);
    ASSERT_EQ(surface.pageCount(), 2);
    const RecordedPage& second = surface.page(1);
    EXPECT_TRUE(second.findText("Ann's Detailed Log Book ( continued )"));
    EXPECT_TRUE(second.findText("Supper (cont)"));
    EXPECT_TRUE(second.findText("Page 4 "));
    EXPECT_TRUE(surface.page(0).findText("Page 3 "));
    expectGoldenFile(surface.dump(), "reports/log_detail_week.txt");
}

TEST_F(LogDetailReportTest, AWorksheetIsOneFullPageOfEmptyRows) {
    fillWeek(); // nothing of it is printed
    EXPECT_EQ(print(true, ReportStyle::greyscale), 1);
    EXPECT_FALSE(surface.page(0).findText("Pizza late"));
    expectGoldenFile(surface.dump(), "reports/log_detail_worksheet.txt");
}

TEST_F(LogDetailReportTest, BlackAndWhiteFillsOnlyTheExtremeGlucoseCellsInBlack) {
    fillWeek();
    print(false, ReportStyle::color);
    int redOrBlue = 0;
    for (const RecordedPage& page : surface.pages())
        for (const RecordedFill& fill : page.fills)
            redOrBlue += fill.color == QColor(Qt::red) || fill.color == QColor(Qt::blue);
    EXPECT_GT(redOrBlue, 0);

    RecordingSurface blackAndWhite;
    printOn(blackAndWhite, false, ReportStyle::blackAndWhite, 1);
    int black = 0;
    for (const RecordedPage& page : blackAndWhite.pages())
        for (const RecordedFill& fill : page.fills) {
            EXPECT_TRUE(fill.color == QColor(Qt::white) || fill.color == QColor(Qt::black));
            black += fill.color == QColor(Qt::black);
        }
    EXPECT_EQ(black, redOrBlue);
}
