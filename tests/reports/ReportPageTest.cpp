#include "reports/ReportPage.h"

#include "storage/Conversions.h"
#include "support/GoldenFile.h"
#include "support/RecordingSurface.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const std::time_t kPrinted = fromDateTimeText("20240305140700");

RecordingSurface::Device deviceWith(int colors, int dpi = 300) {
    RecordingSurface::Device device;
    device.colors = colors;
    device.dpi = dpi;
    return device;
}

struct Job {
    explicit Job(ReportStyle style, RecordingSurface::Device device = {})
        : surface(device), started(surface.startPage(QPageLayout::Landscape)),
          page(surface, style, QStringLiteral("4.1.0.0"), kPrinted) {}
    const RecordedPage& recorded() const { return surface.page(0); }

    RecordingSurface surface;
    bool started;
    ReportPage page;
};

} // namespace

TEST(ReportPageTest, PaletteBrushesAndPensFollowTheStyleAndTheDevice) {
    constexpr int kColour = 1 << 24;
    struct Case {
        ReportStyle asked;
        int colors;
        int dpi;
        ReportStyle used;
        QRgb light, shade, emphasis, blue, red;
        int thin;
    } cases[] = {
        {ReportStyle::color, kColour, 300, ReportStyle::color, 0xe9e9e7, 0xa0b9b9, 0xa0b9b9,
         0x0000ff, 0xff0000, 3},
        {ReportStyle::color, 2, 600, ReportStyle::greyscale, 0xe9e9e7, 0x808080, 0xe9e9e7, 0, 0, 6},
        {ReportStyle::greyscale, kColour, 300, ReportStyle::greyscale, 0xe9e9e7, 0x808080, 0xe9e9e7,
         0, 0, 3},
        {ReportStyle::blackAndWhite, kColour, 300, ReportStyle::blackAndWhite, 0xffffff, 0xffffff,
         0xffffff, 0, 0, 3},
        {ReportStyle::blackAndWhite, 2, 300, ReportStyle::blackAndWhite, 0xffffff, 0xffffff,
         0xffffff, 0, 0, 3},
    };
    for (const Case& c : cases) {
        Job job(c.asked, deviceWith(c.colors, c.dpi));
        const ReportPage& page = job.page;
        SCOPED_TRACE(reportStyleName(c.asked).toStdString() + " on " + std::to_string(c.colors));
        EXPECT_EQ(page.style(), c.used);
        EXPECT_EQ(page.lightFill().rgb() & 0xffffff, c.light);
        EXPECT_EQ(page.lightBrush().color().rgb() & 0xffffff, c.light);
        EXPECT_EQ(page.shade().rgb() & 0xffffff, c.shade);
        EXPECT_EQ(page.emphasisBrush().color().rgb() & 0xffffff, c.emphasis);
        EXPECT_EQ(page.blueBrush().color().rgb() & 0xffffff, c.blue);
        EXPECT_EQ(page.redBrush().color().rgb() & 0xffffff, c.red);
        EXPECT_EQ(page.bluePen().color().rgb() & 0xffffff, c.blue);
        EXPECT_EQ(page.redPen().color().rgb() & 0xffffff, c.red);
        EXPECT_EQ(page.blackBrush().color(), QColor(Qt::black));
        EXPECT_EQ(page.whiteBrush().color(), QColor(Qt::white));
        EXPECT_EQ(page.shades(), c.used != ReportStyle::blackAndWhite);
        const int widths[] = {page.thinPen().width(), page.bluePen().width(), page.redPen().width(),
                              page.thickPen().width(), page.hairlinePen().width()};
        EXPECT_EQ(std::vector<int>(std::begin(widths), std::end(widths)),
                  (std::vector<int>{c.thin, c.thin, c.thin, 2 * c.thin, 1}));
        EXPECT_EQ(page.thickPen().color(), QColor(Qt::black));
    }
}

TEST(ReportPageTest, GlucoseCellsDrawTheirClass) {
    const GlucoseRange range{50, 70, 180, 300};
    struct Case {
        ReportStyle style;
        int value;
        int unit;
        QString text;
        int weight;
        QRgb ink;   // text colour
        QRgb frame; // ~0u: no frame
        QRgb fill;  // ~0u: no fill
    } cases[] = {
        {ReportStyle::color, 120, 0, "120", 400, 0x123456, ~0u, ~0u},
        {ReportStyle::color, 70, 0, "70", 400, 0x123456, ~0u, ~0u},
        {ReportStyle::color, 180, 0, "180", 400, 0x123456, ~0u, ~0u},
        {ReportStyle::color, 50, 0, "50", 400, 0xff0000, 0xff0000, ~0u},
        {ReportStyle::color, 300, 0, "300", 400, 0x0000ff, 0x0000ff, ~0u},
        {ReportStyle::color, 49, 0, "49", 800, 0xffffff, 0xff0000, 0xff0000},
        {ReportStyle::color, 301, 0, "301", 800, 0xffffff, 0x0000ff, 0x0000ff},
        {ReportStyle::color, 72, 1, "7.2", 400, 0x123456, ~0u, ~0u},
        {ReportStyle::greyscale, 60, 0, "60", 400, 0x000000, 0x000000, ~0u},
        {ReportStyle::greyscale, 400, 0, "400", 800, 0xffffff, 0x000000, 0x000000},
        {ReportStyle::blackAndWhite, 20, 0, "20", 800, 0xffffff, 0x000000, 0x000000},
    };
    const QRect cell(100, 200, 160, 60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Job job(c.style);
        QPainter& p = job.page.painter();
        p.setPen(QColor(0x12, 0x34, 0x56));
        job.page.glucoseCell(
            cell, c.value, range, c.unit, job.page.font(ReportPage::FontRole::Text),
            job.page.font(ReportPage::FontRole::TextBold), job.page.redPen(), job.page.bluePen());
        const RecordedPage& page = job.recorded();
        ASSERT_EQ(page.texts.size(), 1u);
        const RecordedText& text = page.texts[0];
        EXPECT_EQ(text.text, c.text);
        EXPECT_EQ(text.weight, c.weight);
        EXPECT_EQ(text.points, 8);
        EXPECT_EQ(text.color.rgb() & 0xffffff, c.ink);
        EXPECT_NEAR(text.box.center().x(), cell.center().x(), 2);
        EXPECT_EQ(page.lines.size(), c.frame == ~0u ? 0u : 4u);
        for (const RecordedLine& line : page.lines)
            EXPECT_EQ(line.color.rgb() & 0xffffff, c.frame);
        ASSERT_EQ(page.fills.size(), c.fill == ~0u ? 0u : 1u);
        for (const RecordedFill& fill : page.fills) {
            EXPECT_EQ(fill.color.rgb() & 0xffffff, c.fill);
            EXPECT_EQ(fill.rect, cell.adjusted(5, 5, -5, -5));
        }
        EXPECT_EQ(p.pen().color(), QColor(0x12, 0x34, 0x56)) << "the text colour is restored";
    }
}

TEST(ReportPageTest, FooterShowsProductPrintedTimeAndPageOverARule) {
    Job job(ReportStyle::color);
    job.page.footer(3);
    const RecordedPage& page = job.recorded();
    EXPECT_EQ(page.textList(), (QStringList{"Quillmarch Diabetes Logbook Version: 4.1.0.0",
                                            "Printed:March 05, 2024 @ 14:07", "Page 3 "}));
    const QRect band = job.page.footerBand();
    EXPECT_EQ(band.bottom(), job.page.pageRect().bottom());
    for (const RecordedText& text : page.texts)
        EXPECT_EQ(text.points, 6) << text.text.toStdString();
    EXPECT_EQ(page.texts[1].baseline.x(), band.left());
    EXPECT_NEAR(page.texts[2].box.right(), band.right(), 3);
    EXPECT_NEAR(page.texts[0].box.center().x(), band.center().x(), 3);
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].line,
              QLine(band.left(), band.top() - job.page.padding(), band.left() + band.width(),
                    band.top() - job.page.padding()));
    EXPECT_EQ(job.page.bodyBottom(), band.top() - job.page.padding());
}

TEST(ReportPageTest, BlackAndWhiteFillsNothingButWhite) {
    for (const ReportStyle style : {ReportStyle::blackAndWhite, ReportStyle::greyscale}) {
        Job job(style);
        const ReportPage& page = job.page;
        page.frame(QRect(10, 10, 300, 50), page.thinPen(), &page.emphasisBrush());
        page.textCell("band", QRect(10, 60, 300, 50), 4, ReportPage::Align::Left,
                      &page.lightBrush());
        const auto& fills = job.recorded().fills;
        ASSERT_EQ(fills.size(), 2u);
        const bool allWhite = std::all_of(fills.begin(), fills.end(), [](const RecordedFill& f) {
            return f.color == QColor(Qt::white);
        });
        EXPECT_EQ(allWhite, style == ReportStyle::blackAndWhite)
            << reportStyleName(style).toStdString();
    }
}

TEST(ReportPageTest, SharedDrawingOfASamplePage) {
    Job job(ReportStyle::color);
    const ReportPage& page = job.page;
    QPainter& p = page.painter();
    const QRect body = page.pageRect();
    int x = body.left() + page.picture(ReportPicture::Logo, body.topLeft(), 2 * page.margin());
    x += page.picture(ReportPicture::KetoneSmall, QPoint(x, body.top()), 40);
    p.setFont(page.font(ReportPage::FontRole::Title));
    page.textCell(" Physician's Summary", QRect(x, body.top(), body.right() - x, 80), 0,
                  ReportPage::Align::Center);
    p.setFont(page.font(ReportPage::FontRole::Text));
    const QRect band(body.left(), body.top() + 200, 900, 60);
    page.frame(band, page.thinPen(), &page.emphasisBrush());
    page.textCell("Left", band, page.padding(), ReportPage::Align::Left);
    page.textCell("Right", band, page.padding(), ReportPage::Align::Right, &page.lightBrush());
    page.glucoseCell(band.translated(0, 60), 40, {50, 70, 180, 300}, 0,
                     page.font(ReportPage::FontRole::Text),
                     page.font(ReportPage::FontRole::TextBold), page.redPen(), page.bluePen());
    page.footer(1);
    EXPECT_TRUE(job.surface.finish());
    expectGoldenFile(job.surface.dump(), "reports/shared_drawing.txt");
}

TEST(ReportPicturesTest, PicturesAreNamedSizedAndFollowTheStyle) {
    for (int i = 0; i <= static_cast<int>(ReportPicture::PreviewBlackAndWhite); ++i) {
        const auto picture = static_cast<ReportPicture>(i);
        const bool preview = i >= static_cast<int>(ReportPicture::PreviewColor);
        for (const ReportStyle style :
             {ReportStyle::color, ReportStyle::greyscale, ReportStyle::blackAndWhite}) {
            const QImage image = renderPicture(picture, 24, style);
            SCOPED_TRACE(pictureName(picture).toStdString());
            EXPECT_EQ(image.text("picture"), pictureName(picture));
            EXPECT_EQ(image.size(),
                      QSize(pictureSize(picture).width() * 24 / pictureSize(picture).height(), 24));
            int inked = 0, coloured = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    inked += qAlpha(pixel) > 0 && qGray(pixel) < 160;
                    coloured += qAlpha(pixel) > 0 &&
                                (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel));
                }
            EXPECT_GT(inked, 10) << "something to see";
            if (!preview && style != ReportStyle::color) {
                EXPECT_EQ(coloured, 0);
            }
            if (style == ReportStyle::color && picture != ReportPicture::PreviewGreyscale &&
                picture != ReportPicture::PreviewBlackAndWhite) {
                EXPECT_GT(coloured, 0);
            }
        }
    }
}
