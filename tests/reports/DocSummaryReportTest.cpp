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

TEST_F(DocSummaryReportTest, EveryCaptionOnThePage) {
    fillSampleLogbook();
    const RecordedPage& page = print(ReportStyle::color);
    for (const char* caption : {" Physician's Summary",
                                "February 02, 2024 through March 15, 2024",
                                "Patient:",
                                "Margaret Ellison",
                                "Date of Birth:",
                                "September 22, 1968",
                                "55 year(s) and 6 month(s)",
                                "Date of Dx:",
                                "April 5, 1992",
                                "31 year(s) and 11 month(s)",
                                "Physician Name:",
                                "Phone:",
                                " Fax:  (555)201-4471",
                                "Extremes",
                                "Averages",
                                "Target",
                                "Week 1",
                                "Week 2",
                                "Week 3&4",
                                "Week 5&6",
                                "Overall",
                                "Hemoglobin A1c",
                                "Current Protocol: 02/12",
                                "Previous Protocol: 10/15",
                                "Medications",
                                "Open Date",
                                "Age",
                                "Rx. Number",
                                "Expired",
                                "Pump and Meters",
                                "Manufacturer",
                                "Model",
                                "Servie Date",
                                "Serial No.",
                                "Vitals",
                                "Patient Notes",
                                "Asks about CGM coverage.",
                                "Page 1 "})
        EXPECT_TRUE(page.findText(caption)) << caption;
}
