#include "reports/GlucoseStats.h"
#include "reports/DocSummaryFixture.h"
#include "reports/GlucoseStatsData.h"
#include "reports/GlucoseStatsReport.h"
#include "reports/ReportContext.h"
#include "storage/CgmReadingTable.h"
#include "support/GoldenFile.h"
#include "support/RecordingSurface.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <numbers>

namespace {

TEST(GlucoseStatsBands, EdgesAndDeviceLimits) {
    const std::pair<int, GlucoseStats::Band> cases[] = {
        {40, GlucoseStats::veryLow},   {53, GlucoseStats::veryLow}, {54, GlucoseStats::low},
        {69, GlucoseStats::low},       {70, GlucoseStats::inRange}, {180, GlucoseStats::inRange},
        {181, GlucoseStats::high},     {250, GlucoseStats::high},   {251, GlucoseStats::veryHigh},
        {400, GlucoseStats::veryHigh},
    };
    for (const auto& [mgdl, band] : cases)
        EXPECT_EQ(GlucoseStats::bandOf(mgdl), band) << mgdl;
}

// Linear interpolation between the closest ranks, h = (n - 1) p.
TEST(GlucoseStatsPercentiles, InterpolateBetweenClosestRanks) {
    struct Case {
        std::vector<int> sorted;
        double p;
        double expected;
    };
    const Case cases[] = {
        {{120}, 0.05, 120},                  // one value: every percentile is that value
        {{120}, 0.95, 120},                  //
        {{100, 100, 120, 160}, 0.05, 100},   // h = 0.15 between two equal values
        {{100, 100, 120, 160}, 0.25, 100},   // h = 0.75, still the tie
        {{100, 100, 120, 160}, 0.50, 110},   // even count: h = 1.5, halfway 100..120
        {{100, 100, 120, 160}, 0.75, 130},   // h = 2.25: 120 + 0.25 x 40
        {{100, 100, 120, 160}, 0.95, 154},   // h = 2.85: 120 + 0.85 x 40
        {{60, 80, 90, 200, 210}, 0.50, 90},  // odd count: h = 2, the middle value
        {{60, 80, 90, 200, 210}, 0.25, 80},  // h = 1 exactly
        {{60, 80, 90, 200, 210}, 0.95, 208}, // h = 3.8: 200 + 0.8 x 10
        {{}, 0.5, 0},                        // nothing to rank
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GlucoseStats::percentile(c.sorted, c.p), c.expected, 1e-9)
            << c.sorted.size() << " values, p " << c.p;
}

// The cases of glucose_stats_cases.txt, each worked by hand in its comments.
TEST(GlucoseStatsCases, MatchTheHandComputedNumbers) {
    QFile file(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/reports/glucose_stats_cases.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    int cases = 0;
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (!lines[at].startsWith("case "))
            continue;
        const std::string name = lines[at].mid(5).toStdString();
        const QStringList period = lines[++at].split(' ');
        std::vector<CgmReading> readings;
        for (++at; lines[at].startsWith("reading "); ++at)
            readings.push_back(
                {lines[at].section(' ', 1, 1), lines[at].section(' ', 2).toInt(), 0, "test"});
        const auto stats = GlucoseStats::compute(
            readings, QDate::fromString(period[1], "yyyyMMdd"), period[2].toInt(),
            period[3] == "cgm" ? GlucoseStats::Source::cgm : GlucoseStats::Source::meter);
        int gaps = 0;
        for (const auto& bin : stats.agp)
            gaps += bin.isGap() ? 1 : 0;
        auto perBand = [&](auto value) {
            QStringList values;
            for (int b = 0; b < GlucoseStats::kBandCount; ++b)
                values << QString::number(value(static_cast<GlucoseStats::Band>(b)));
            return values.join(' ');
        };
        for (; at < lines.size() && !lines[at].isEmpty(); ++at) {
            const QString key = lines[at].section(' ', 0, 0);
            const QString rest = lines[at].section(' ', 1);
            const std::string where = name + ": " + lines[at].toStdString();
            if (key == "bands")
                EXPECT_EQ(perBand([&](auto b) { return stats.bandCounts[b]; }), rest) << where;
            else if (key == "tenths")
                EXPECT_EQ(perBand([&](auto b) { return stats.bandTenths(b); }), rest) << where;
            else if (key == "minutes")
                EXPECT_EQ(perBand([&](auto b) { return stats.bandMinutesPerDay(b); }), rest)
                    << where;
            else if (key == "mean_tenths")
                EXPECT_EQ(stats.meanTenths(), rest.toInt()) << where;
            else if (key == "sd")
                EXPECT_NEAR(stats.sd, rest.toDouble(), 1e-3) << where;
            else if (key == "cv")
                EXPECT_NEAR(stats.cv(), rest.toDouble(), 1e-3) << where;
            else if (key == "gmi")
                EXPECT_NEAR(stats.gmi(), rest.toDouble(), 1e-3) << where;
            else if (key == "interval")
                EXPECT_EQ(stats.intervalMinutes, rest.toInt()) << where;
            else if (key == "expected")
                EXPECT_EQ(stats.expectedReadings, rest.toInt()) << where;
            else if (key == "coverage_tenths")
                EXPECT_EQ(stats.coverageTenths(), rest.toInt()) << where;
            else if (key == "gaps")
                EXPECT_EQ(gaps, rest.toInt()) << where;
            else if (key == "warnings")
                EXPECT_EQ(stats.warnings().size(), rest.toInt()) << where;
            else if (key == "bin") {
                const QStringList v = rest.split(' ');
                const auto& bin = stats.agp.at(v[0].toInt());
                EXPECT_EQ(bin.count, v[1].toInt()) << where;
                for (int p = 0; p < 5; ++p)
                    EXPECT_NEAR(bin.percentiles[p], v[2 + p].toDouble(), 1e-3) << where;
            } else
                ADD_FAILURE() << "unknown line " << where;
        }
        ++cases;
    }
    EXPECT_EQ(cases, 4);
}

// A patient whose clock stands at noon on 15 March 2024, with a CGM table.
class GlucoseStatsTest : public DocSummaryTest {
protected:
    void SetUp() override {
        DocSummaryTest::SetUp();
        ASSERT_TRUE(CgmReadingTable::createTable(*db));
        changePreference([](Preference& p) { p.setPatientName("Ann Example"); });
    }

    // Two weeks to the clock's day of 5-minute readings, a day in the middle missing and the
    // small hours never read (the sensor off the body at night), with a few High and Low.
    void fillSensorWeeks() {
        std::vector<CgmReading> readings;
        const QDate first = QDate::fromString(kToday, "yyyyMMdd").addDays(-13);
        for (int day = 0; day < 14; ++day) {
            if (day == 6)
                continue;
            for (int minute = 0; minute < 1440; minute += 5) {
                if (minute >= 120 && minute < 240)
                    continue;
                // A day curve peaking after lunch and dinner, shifted a little day by day.
                // Scatter from a fixed hash of the moment, so every run draws the same page.
                const unsigned hash = (day * 288u + minute / 5u) * 2654435761u;
                const int scatter = static_cast<int>(hash >> 20 & 63u) - 32;
                int mgdl =
                    static_cast<int>(125 + 60 * std::sin((minute - 420) * std::numbers::pi / 720)) +
                    (day % 4) * 12 - 18 + scatter * (minute < 720 ? 1 : 2);
                int flag = 0;
                if (day == 3 && minute >= 780 && minute < 800)
                    mgdl = 400, flag = 1;
                if (day == 9 && minute >= 300 && minute < 320)
                    mgdl = 40, flag = -1;
                readings.push_back({first.addDays(day).toString("yyyyMMdd") +
                                        QString::asprintf("%02d%02d00", minute / 60, minute % 60),
                                    mgdl, flag, "clarity"});
            }
        }
        ASSERT_EQ(CgmReadingTable::insertNew(*db, readings), static_cast<int>(readings.size()));
    }

    const RecordedPage& print(ReportStyle style, int weeks = 2) {
        surface = std::make_unique<RecordingSurface>();
        EXPECT_TRUE(surface->startPage(QPageLayout::Landscape));
        context->reload();
        ReportContext reportContext{*context, "4.1.0.0"};
        EXPECT_EQ(GlucoseStatsReport(reportContext).print(*surface, now(), weeks, style, 2), 1);
        EXPECT_TRUE(surface->finish());
        EXPECT_EQ(surface->pageCount(), 1);
        return surface->page(0);
    }

    std::unique_ptr<RecordingSurface> surface;
};

// Without sensor readings the numbers come from the logbook's own live readings, converted from
// the patient's unit (tenths of mmol/L x 18 / 10, truncated) before they are put in bands.
TEST_F(GlucoseStatsTest, FallsBackOnMeterReadingsInThePatientsUnit) {
    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    // tenths -> mg/dL: 29 -> 52, 30 -> 54, 38 -> 68, 39 -> 70, 100 -> 180, 101 -> 181,
    // 139 -> 250, 140 -> 252: very low 1, low 2, in range 2, high 2, very high 1 of 8.
    const int tenths[] = {29, 30, 38, 39, 100, 101, 139, 140};
    for (int i = 0; i < 8; ++i)
        reading(i, "0800", tenths[i], 1);
    reading(3, "1200", 0, 2);                   // insulin only: no reading
    const int gone = reading(4, "1800", 20, 3); // deleted: left out
    ASSERT_TRUE(SampleTable::markDeleted(*db, gone));
    reading(14, "0800", 20, 1); // the day before the period
    ASSERT_EQ(CgmReadingTable::insertNew(*db, {{"20240301235500", 300, 0, "clarity"}}), 1);

    context->reload();
    const GlucoseStatsData data = GlucoseStatsData::gather(*context, now(), 2);
    const GlucoseStats& stats = data.stats;
    EXPECT_EQ(stats.source, GlucoseStats::Source::meter);
    EXPECT_EQ(stats.firstDay, QDate(2024, 3, 2));
    EXPECT_EQ(stats.readings, 8);
    EXPECT_EQ(stats.bandCounts, (std::array<int, 5>{1, 2, 2, 2, 1}));
    // 52+54+68+70+180+181+250+252 = 1107; 11070 / 8 = 1383.75 -> 1384 tenths
    EXPECT_EQ(stats.sum, 1107);
    EXPECT_EQ(stats.meanTenths(), 1384);
    EXPECT_EQ(stats.coverageTenths(), 0);
    // 138.375 mg/dL x 10 / 18 = 76.875 tenths of mmol/L -> 7.7
    EXPECT_EQ(data.metrics[0].value, "7.7 mmol/L");
    EXPECT_EQ(data.bands[2].range, "3.9-10.0 mmol/L");
    EXPECT_EQ(data.bands[2].percent, "25.0%");
    EXPECT_EQ(data.bands[2].perDay, "6 h 00 min");
    EXPECT_EQ(data.periodText, "March 2, 2024 through March 15, 2024 (14 days)");
    EXPECT_EQ(data.sourceText, "From 8 meter readings: no sensor readings in this period");

    // One sensor reading in the period, and the sensor's numbers stand alone.
    ASSERT_EQ(CgmReadingTable::insertNew(*db, {{"20240315101500", 181, 0, "clarity"}}), 1);
    const GlucoseStats sensor = GlucoseStatsData::gather(*context, now(), 2).stats;
    EXPECT_EQ(sensor.source, GlucoseStats::Source::cgm);
    EXPECT_EQ(sensor.readings, 1);
    EXPECT_EQ(sensor.bandCounts[GlucoseStats::high], 1);
}

TEST_F(GlucoseStatsTest, ColourPage) {
    fillSensorWeeks();
    const RecordedPage& page = print(ReportStyle::color);
    expectGoldenFile(surface->dump(), "reports/glucose_stats_color.txt");
    EXPECT_TRUE(page.findText("Glucose Statistics (AGP)"));
    EXPECT_TRUE(page.findText("Page 2 "));
}

TEST_F(GlucoseStatsTest, GreyPage) {
    fillSensorWeeks();
    print(ReportStyle::greyscale);
    expectGoldenFile(surface->dump(), "reports/glucose_stats_grey.txt");
}

// In black and white nothing is filled but in white: the bands are outlines, the target range
// two dashed lines.
TEST_F(GlucoseStatsTest, BlackAndWhitePageFillsOnlyWhite) {
    fillSensorWeeks();
    const RecordedPage& page = print(ReportStyle::blackAndWhite);
    expectGoldenFile(surface->dump(), "reports/glucose_stats_bw.txt");
    ASSERT_FALSE(page.fills.empty());
    for (const RecordedFill& fill : page.fills)
        EXPECT_EQ(fill.color, QColor(Qt::white)) << fill.rect.x() << "," << fill.rect.y();
}

// The profile's gaps stay open: no stroke of the median crosses the small hours, where no bin
// has a reading, and the curve is drawn as two runs around them.
TEST_F(GlucoseStatsTest, GapsInTheProfileAreNotBridged) {
    fillSensorWeeks();
    const RecordedPage& page = print(ReportStyle::color);
    const GlucoseStats stats = GlucoseStatsData::gather(*context, now(), 2).stats;
    for (int bin = 0; bin < GlucoseStats::kBinCount; ++bin)
        EXPECT_EQ(stats.agp[bin].isGap(), bin >= 8 && bin < 16) << bin;
    const QStringList polylines = page.items.filter(QRegularExpression("^polyline w=9 "));
    EXPECT_EQ(polylines.size(), 2) << polylines.join('\n').toStdString();
}

TEST_F(GlucoseStatsTest, AxisInMmolForAnMmolPatientAndAnEmptyPeriodSaysSo) {
    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    const RecordedPage& page = print(ReportStyle::color, 1);
    for (const char* text :
         {"3.0", "3.9", "10.0", "13.9", "19.4", "mmol/L", "< 3.0 mmol/L",
          "No glucose readings in this period", "! The period is shorter than 14 days."})
        EXPECT_TRUE(page.findText(text)) << text;
    EXPECT_TRUE(page.items.filter("polyline").isEmpty());
}

} // namespace
