#include "reports/widgets/ReportPreviewFrame.h"

#include "reports/ReportPictures.h"

#include <QPainter>

namespace {

ReportPicture previewOf(ReportStyle style) {
    switch (style) {
    case ReportStyle::greyscale:
        return ReportPicture::PreviewGreyscale;
    case ReportStyle::blackAndWhite:
        return ReportPicture::PreviewBlackAndWhite;
    case ReportStyle::color:
        break;
    }
    return ReportPicture::PreviewColor;
}

} // namespace

ReportPreviewFrame::ReportPreviewFrame(ReportStyle style, QWidget* parent)
    : QFrame(parent), m_style(style) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // Sized to the sample page, so that the stretch to its height keeps it in proportion.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ReportPreviewFrame::setStyle(ReportStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    update();
}

QRect ReportPreviewFrame::pictureRect() const {
    const QRect inside = contentsRect();
    const int width = std::min(pictureSize(previewOf(m_style)).width(), inside.width());
    return {inside.left() + (inside.width() - width) / 2, inside.top(), width, inside.height()};
}

QSize ReportPreviewFrame::sizeHint() const {
    const QSize own = pictureSize(previewOf(m_style));
    const int border = 2 * frameWidth();
    return {own.width() + border + 16, own.height() + border};
}

void ReportPreviewFrame::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), Qt::white);
        const QRect target = pictureRect();
        if (!target.isEmpty()) {
            // Rendered at the frame's height so that the stretch only ever narrows it.
            const QImage image = renderPicture(previewOf(m_style), target.height(), m_style);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, image);
        }
    }
    QFrame::paintEvent(event);
}
