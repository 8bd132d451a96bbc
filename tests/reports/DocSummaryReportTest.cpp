#include "reports/DocSummaryReport.h"
#include "reports/DocSummaryFixture.h"
#include "reports/ReportContext.h"
#include "support/GoldenFile.h"
#include "support/RecordingSurface.h"

namespace {

const QString kNotes = "Hypoglycemia after lunch twice a week.\r\n\r\nAsks about CGM coverage.";

class DocSummaryReportTest : public DocSummaryTest {
protected:
    // Prints the summary of six weeks ending today as the first page of a job.
    const RecordedPage& print(ReportStyle style, int colors = 1 << 24) {
        RecordingSurface::Device device;
        device.colors = colors;
        surface = std::make_unique<RecordingSurface>(device);
        EXPECT_TRUE(surface->startPage(QPageLayout::Landscape));
        context->reload();
        ReportContext reportContext{*context, "4.1.0.0"};
        EXPECT_EQ(DocSummaryReport(reportContext).print(*surface, now(), 6, kNotes, style, 1), 1);
        EXPECT_TRUE(surface->finish());
        EXPECT_EQ(surface->pageCount(), 1);
        return surface->page(0);
    }

    std::unique_ptr<RecordingSurface> surface;
};

} // namespace

TEST_F(DocSummaryReportTest, ColourPage) {
    fillSampleLogbook();
    print(ReportStyle::color);
    expectGoldenFile(surface->dump(), "reports/doc_summary_color.txt");
}

TEST_F(DocSummaryReportTest, EmptyLogbookInGreyscale) {
    Protocol protocol; // one character: no protocol section, the medications move up
    protocol.setText("-");
    ASSERT_TRUE(ProtocolTable::save(*db, protocol));
    const RecordedPage& page = print(ReportStyle::greyscale);
    expectGoldenFile(surface->dump(), "reports/doc_summary_empty_grey.txt");
    EXPECT_TRUE(page.findText("Average for this period: 0"));
    EXPECT_TRUE(page.pictures.size() == 1 && page.pictures[0].name == "logo");
}

TEST_F(DocSummaryReportTest, BlackAndWhiteFillsNothingButWhite) {
    fillSampleLogbook();
    const RecordedPage& page = print(ReportStyle::blackAndWhite);
    ASSERT_FALSE(page.fills.empty());
    // The one exception: a reading beyond the extremes prints white on black.
    int extremes = 0;
    for (const RecordedFill& fill : page.fills) {
        if (fill.color == QColor(Qt::white))
            continue;
        EXPECT_EQ(fill.color, QColor(Qt::black));
        const bool whiteText = std::any_of(page.texts.begin(), page.texts.end(), [&](auto& t) {
            return t.color == QColor(Qt::white) && fill.rect.contains(t.baseline);
        });
        EXPECT_TRUE(whiteText) << fill.rect.x() << "," << fill.rect.y();
        ++extremes;
    }
    EXPECT_EQ(extremes, 4); // three readings of 45 and one of 287
    // The same job on a grey printer prints as grey scale, not in colour.
    const QStringList grey = (print(ReportStyle::greyscale), surface->dump());
    EXPECT_EQ((print(ReportStyle::color, 2), surface->dump()), grey);
}
