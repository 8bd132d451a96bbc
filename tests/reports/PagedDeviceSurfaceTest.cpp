#include "reports/PagedDeviceSurface.h"

#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Orientation = QPageLayout::Orientation;

// Starts a landscape, a portrait and a landscape page and notes each page's shape ("L" wider
// than high, "P" higher than wide).
QString shapesOfJob(QPrinter& printer) {
    PagedDeviceSurface surface(printer);
    QString shapes;
    for (Orientation orientation :
         {QPageLayout::Landscape, QPageLayout::Portrait, QPageLayout::Landscape}) {
        EXPECT_TRUE(surface.startPage(orientation));
        surface.painter().drawText(QPoint(100, 100), QStringLiteral("page"));
        const QSize size = surface.pageSize();
        shapes += size.width() > size.height() ? u'L' : u'P';
    }
    EXPECT_TRUE(surface.finish());
    return shapes;
}

} // namespace

// A printer (here one writing PDF) turns each page as its report asks; the preview's printer
// keeps the paper's orientation, as the preview shows every page in that one size.
TEST(PagedDeviceSurfaceTest, PrinterPagesTurnPreviewPagesKeepThePaperOrientation) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("job.pdf"));
    EXPECT_EQ(shapesOfJob(printer), "LPL");

    for (Orientation paper : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        QPrinter previewPrinter(QPrinter::HighResolution);
        previewPrinter.setPageOrientation(paper);
        QPrintPreviewWidget preview(&previewPrinter);
        QString shapes;
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&shapes](QPrinter* shown) { shapes = shapesOfJob(*shown); });
        preview.updatePreview();
        EXPECT_EQ(shapes, paper == QPageLayout::Portrait ? "PPP" : "LLL");
        EXPECT_EQ(preview.pageCount(), 3);
    }
}
