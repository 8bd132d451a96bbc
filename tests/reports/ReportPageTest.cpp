#include "reports/ReportPage.h"

#include "storage/Conversions.h"
#include "support/GoldenFile.h"
#include "support/RecordingSurface.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct Job {
    explicit Job(ReportStyle style, int colors = 1 << 24, int dpi = 300)
        : surface(RecordingSurface::Device{dpi, {2480, 3508}, colors, {}}),
          started(surface.startPage(QPageLayout::Landscape)),
          page(surface, style, QStringLiteral("4.1.0.0"), fromDateTimeText("20240305140700")) {}
    RecordingSurface surface;
    bool started;
    ReportPage page;
};

QString rgb(const QColor& color) {
    return color.name();
}

} // namespace

// Per style and device: the palette, the pens, a framed band with the emphasis and light fills,
// then glucose cells of each class; a grey-only device gets greyscale.
TEST(ReportPageTest, PalettesFillsAndGlucoseCellsPerStyle) {
    QStringList out;
    const std::tuple<ReportStyle, int, int> devices[] = {{ReportStyle::color, 1 << 24, 300},
                                                         {ReportStyle::color, 2, 600},
                                                         {ReportStyle::greyscale, 1 << 24, 300},
                                                         {ReportStyle::blackAndWhite, 1 << 24, 300},
                                                         {ReportStyle::blackAndWhite, 2, 300}};
    for (const auto& [asked, colors, dpi] : devices) {
        Job job(asked, colors, dpi);
        const ReportPage& p = job.page;
        out << QString::asprintf("%s on %d colours at %d dpi: %s shades=%d",
                                 qPrintable(reportStyleName(asked)), colors, dpi,
                                 qPrintable(reportStyleName(p.style())), p.shades());
        out << QStringList{rgb(p.lightFill()),
                           rgb(p.lightBrush().color()),
                           rgb(p.shade()),
                           rgb(p.emphasisBrush().color()),
                           rgb(p.blueBrush().color()),
                           rgb(p.redBrush().color()),
                           rgb(p.blackBrush().color()),
                           rgb(p.whiteBrush().color())}
                   .join(' ');
        for (const QPen& pen :
             {p.thinPen(), p.bluePen(), p.redPen(), p.thickPen(), p.hairlinePen()})
            out << QString::asprintf("pen w=%d %s", pen.width(), qPrintable(rgb(pen.color())));
        p.frame(QRect(10, 10, 300, 50), p.thinPen(), &p.emphasisBrush());
        p.textCell("band", QRect(10, 60, 300, 50), 4, ReportPage::Align::Left, &p.lightBrush());
        out << job.surface.dump().mid(1);
    }
    const std::tuple<ReportStyle, int, int> cells[] = {
        {ReportStyle::color, 120, 0},       {ReportStyle::color, 70, 0},
        {ReportStyle::color, 180, 0},       {ReportStyle::color, 50, 0},
        {ReportStyle::color, 300, 0},       {ReportStyle::color, 49, 0},
        {ReportStyle::color, 301, 0},       {ReportStyle::color, 72, 1},
        {ReportStyle::greyscale, 60, 0},    {ReportStyle::greyscale, 400, 0},
        {ReportStyle::blackAndWhite, 20, 0}};
    for (const auto& [style, value, unit] : cells) {
        Job job(style);
        QPainter& painter = job.page.painter();
        painter.setPen(QColor(0x12, 0x34, 0x56));
        job.page.glucoseCell(QRect(100, 200, 160, 60), value, {50, 70, 180, 300}, unit,
                             job.page.font(ReportPage::FontRole::Text),
                             job.page.font(ReportPage::FontRole::TextBold), job.page.redPen(),
                             job.page.bluePen());
        out << QString::asprintf("glucose %s %d unit %d, pen after %s",
                                 qPrintable(reportStyleName(style)), value, unit,
                                 qPrintable(rgb(painter.pen().color())));
        out << job.surface.dump().mid(1);
    }
    expectGoldenFile(out, "reports/report_page.txt");
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
    page.footer(3);
    EXPECT_TRUE(job.surface.finish());
    QStringList out = job.surface.dump();
    out << QString::asprintf("body bottom %d", page.bodyBottom());
    expectGoldenFile(out, "reports/shared_drawing.txt");
}

// Per picture and style: its name, its size at 24 units high, whether it shows ink and colour.
TEST(ReportPicturesTest, PicturesAreNamedSizedAndFollowTheStyle) {
    QStringList out;
    for (int i = 0; i <= static_cast<int>(ReportPicture::PreviewBlackAndWhite); ++i) {
        for (const ReportStyle style :
             {ReportStyle::color, ReportStyle::greyscale, ReportStyle::blackAndWhite}) {
            const QImage image = renderPicture(static_cast<ReportPicture>(i), 24, style);
            int inked = 0, coloured = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    inked += qAlpha(pixel) > 0 && qGray(pixel) < 160;
                    coloured += qAlpha(pixel) > 0 &&
                                (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel));
                }
            out << QString::asprintf("%s %s %dx%d %s %s", qPrintable(image.text("picture")),
                                     qPrintable(reportStyleName(style)), image.width(),
                                     image.height(), inked > 10 ? "inked" : "blank",
                                     coloured > 0 ? "coloured" : "grey");
        }
    }
    expectGoldenFile(out, "reports/pictures.txt");
}
