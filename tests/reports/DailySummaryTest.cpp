#include "reports/DailySummaryData.h"
#include "reports/DailySummaryReport.h"
#include "reports/ReportContext.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

#include <QDate>

namespace {

// Days logged up to Thursday 15 March 2007, the period's end, for Ann with the default range
// 65, 80, 150, 220.
class DailySummaryTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
    }
    static QString daysBefore(int days) {
        return QDate(2007, 3, 15).addDays(-days).toString("yyyyMMdd");
    }
    // A day with its stored average and markers, and an entry per reading (0: no glucose).
    void addLoggedDay(int daysBack, std::initializer_list<int> readings, int average,
                      int dayType = 1, int ketone = 0, bool site = false) {
        const QString date = daysBefore(daysBack);
        addDay(date, [&](SampleDate& d) {
            d.setAvgGlucoseCnt(average);
            d.setDayTypeId(dayType);
            d.setMaxKeytoneCode(ketone);
            d.setNewSiteBol(site);
        });
        int minute = 0;
        for (int glucose : readings)
            addEntry(date + QString::asprintf("08%02d00", minute++), glucose);
    }
    // Days with and without readings, near-range and extreme values, every marker; the last
    // of them is the day before a two-week period.
    void addMixedDays() {
        addLoggedDay(0, {0, 120, 45}, 82, 1, 2, true); // lowest: the smallest non-zero
        addDay(daysBefore(1));                         // no entries
        addLoggedDay(2, {0}, 0, 0, 3);                 // entries without glucose
        addLoggedDay(4, {190, 260}, 225, 0, 4);
        addLoggedDay(7, {130}, 131, 2, 1); // the stored average is printed, not worked out
        addLoggedDay(13, {70}, 70);
        addLoggedDay(14, {300}, 300);
    }
    void addDays(int count) {
        for (int i = 0; i < count; ++i)
            addLoggedDay(i, {60 + i, 140 + i % 5 * 30 + i}, 100 + i);
    }
    DailySummaryData gather(int weeks, int firstPage) {
        TestLogbookContext context(*db, prompts, kEnd);
        return DailySummaryData::gather(context, kEnd, weeks, firstPage);
    }
    // Prints on a recording surface whose first page the pass has started, as it would.
    int print(int weeks, ReportStyle style, int firstPage, int colors = 1 << 24) {
        surface = std::make_unique<RecordingSurface>(
            RecordingSurface::Device{300, {2480, 3508}, colors, {}});
        EXPECT_TRUE(surface->startPage(QPageLayout::Landscape));
        TestLogbookContext context(*db, prompts, fromDateTimeText("20070316090500"));
        const int last = DailySummaryReport(ReportContext{context, "4.1.0.0"})
                             .print(*surface, kEnd, weeks, style, firstPage);
        EXPECT_TRUE(surface->finish());
        return last;
    }

    const std::time_t kEnd = fromDateTimeText("20070315123000");
    std::unique_ptr<RecordingSurface> surface;
};

QString orNone(const std::optional<int>& value) {
    return value ? QString::number(*value) : QStringLiteral("-");
}

} // namespace

TEST_F(DailySummaryTest, RowsPagesAndChartPoints) {
    addMixedDays();
    const DailySummaryData data = gather(2, 3);
    QStringList lines;
    for (const DailySummaryData::Row& r : data.rows)
        lines << QString::asprintf("%s %s %s low %d avg %d high %d readings %d type %d k%d %d",
                                   qPrintable(r.date), qPrintable(r.dayText), qPrintable(r.weekday),
                                   r.lowest, r.average, r.highest, r.readings, r.dayType, r.ketone,
                                   r.siteChange);
    for (const DailySummaryData::Page& page : data.pages) {
        lines << QString::asprintf("page %d rows %d-%d left %d scale %d %s", page.number,
                                   page.first, page.last, DailySummaryData::leftColumnCount(page),
                                   page.highest, qPrintable(page.period));
        for (const DailySummaryData::ChartPoint& p : data.chartPoints(page))
            lines << QStringLiteral("%1 [%2] %3 %4 %5")
                         .arg(QString::number(p.row), p.label, orNone(p.lowest), orNone(p.average),
                              orNone(p.highest));
    }
    expectGoldenFile(lines, "reports/daily_summary_data.txt");
}

TEST_F(DailySummaryTest, SixtyRowsAPageNumberedOn) {
    addDays(120);
    const struct {
        int weeks;
        const char* pages; // rows, number and scale of each page
    } cases[] = {
        {8, "0-55 #4 314"}, {9, "0-59 #4 319 60-62 #5 262"}, {25, "0-59 #4 319 60-119 #5 379"}};
    for (const auto& c : cases) {
        QStringList pages;
        for (const DailySummaryData::Page& p : gather(c.weeks, 4).pages)
            pages << QString::asprintf("%d-%d #%d %d", p.first, p.last, p.number, p.highest);
        EXPECT_EQ(pages.join(' '), c.pages) << c.weeks;
    }
}

TEST_F(DailySummaryTest, ChartOffsetsInWholeUnits) {
    const struct {
        int value, highest, height;
        std::optional<int> offset;
    } cases[] = {{100, 300, 600, 200}, {0, 300, 600, 0},    {305, 305, 600, 610},
                 {150, 307, 500, 240}, {45, 10, 600, 2700}, {9, 9, 600, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(DailySummaryData::chartOffset(c.value, c.highest, c.height), c.offset)
            << c.value << " " << c.highest << " " << c.height;
}

TEST_F(DailySummaryTest, ColourPage) {
    addMixedDays();
    EXPECT_EQ(print(2, ReportStyle::color, 2), 2);
    expectGoldenFile(surface->dump(), "reports/daily_summary_color.txt");
}

TEST_F(DailySummaryTest, SixtyOneDaysOnAMonochromePrinterPrintInGreyOnTwoPages) {
    addDays(61);
    EXPECT_EQ(print(9, ReportStyle::color, 5, 2), 6);
    expectGoldenFile(surface->dump(), "reports/daily_summary_grey.txt");
    const QStringList monochrome = surface->dump();
    EXPECT_EQ((print(9, ReportStyle::greyscale, 5), surface->dump()), monochrome);
}

TEST_F(DailySummaryTest, BlackAndWhiteFillsNothingButTheExtremeCells) {
    addMixedDays();
    print(2, ReportStyle::blackAndWhite, 1);
    QStringList black;
    for (const RecordedFill& fill : surface->page(0).fills)
        if (fill.color != QColor(Qt::white))
            black << QString::asprintf("%d,%d %s", fill.rect.x(), fill.rect.y(),
                                       qPrintable(fill.color.name()));
    EXPECT_EQ(black.join(' '), "695,286 #000000 2616,286 #000000 2821,286 #000000"); // 45, 225, 260
}

TEST_F(DailySummaryTest, APeriodWithoutDaysPrintsNothing) {
    addLoggedDay(14, {100}, 100);
    prompts.expect("Quillmarch", DailySummaryReport::kNoData);
    EXPECT_EQ(print(2, ReportStyle::color, 2), 0);
    EXPECT_TRUE(surface->page(0).items.isEmpty());
}
