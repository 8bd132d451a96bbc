#include "reports/ReportPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

// Every picture is drawn in its own units (icons on a 100 by 100 square) and scaled to the
// height asked for, so it stays sharp at any printer resolution. Strokes are thick and shapes
// few: the icons print 12 to 40 device pixels high beside the logbook's figures.

namespace {

const QColor kInk(45, 45, 45);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// How a picture's colours print in a style. In black and white the areas are white and every
// line and mark is black; grey-scale pictures are drawn in colour and turned grey afterwards.
struct Inks {
    bool mono = false;
    QColor fill(const QColor& colour) const { return mono ? kWhite : colour; }
    QColor mark(const QColor& colour) const { return mono ? kBlack : colour; }
    QColor line() const { return mono ? kBlack : kInk; }
};

QPen strokePen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawLogo(QPainter& p, const Inks& inks) {
    // A logbook's cover with a drop of blood and the trace of the day's glucose across it.
    const QColor cover = inks.mono ? kBlack : QColor(28, 92, 158);
    p.setPen(Qt::NoPen);
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 18, 18);
    QPainterPath drop;
    drop.moveTo(50, 13);
    drop.cubicTo(58, 27, 77, 45, 77, 62);
    drop.arcTo(QRectF(23, 35, 54, 54), 0, -180);
    drop.cubicTo(23, 45, 42, 27, 50, 13);
    p.setBrush(kWhite);
    p.drawPath(drop);
    p.setPen(strokePen(inks.mark(QColor(210, 30, 40)), 6));
    p.setBrush(Qt::NoBrush);
    const QPointF trace[] = {{28, 66}, {39, 66}, {45, 54}, {53, 76}, {59, 62}, {72, 62}};
    p.drawPolyline(trace, 6);
}

void drawNote(QPainter& p, const Inks& inks) {
    const QPointF sheet[] = {{20, 8}, {64, 8}, {82, 26}, {82, 92}, {20, 92}};
    p.setPen(strokePen(inks.line(), 6));
    p.setBrush(inks.fill(QColor(255, 232, 120)));
    p.drawPolygon(sheet, 5);
    const QPointF fold[] = {{64, 8}, {64, 26}, {82, 26}};
    p.setBrush(inks.fill(QColor(226, 190, 60)));
    p.drawPolygon(fold, 3);
    p.setPen(strokePen(inks.mark(QColor(40, 60, 120)), 6));
    for (const qreal y : {44.0, 59.0, 74.0})
        p.drawLine(QPointF(32, y), QPointF(70, y));
}

void drawDelivery(QPainter& p, const Inks& inks) {
    // A syringe: the dose was given another way than usual.
    p.translate(50, 50);
    p.rotate(-45);
    p.translate(-50, -50);
    p.setPen(strokePen(inks.line(), 5));
    p.drawLine(QPointF(2, 50), QPointF(18, 50)); // needle
    p.setBrush(inks.fill(QColor(170, 210, 250)));
    p.drawRect(QRectF(22, 37, 50, 26)); // barrel
    p.setBrush(inks.fill(QColor(90, 140, 200)));
    p.drawRect(QRectF(22, 37, 20, 26)); // the dose in it
    p.drawRect(QRectF(14, 44, 8, 12));  // hub
    p.setPen(strokePen(inks.line(), 8));
    p.drawLine(QPointF(72, 50), QPointF(92, 50)); // plunger
    p.drawLine(QPointF(92, 36), QPointF(92, 64));
    p.drawLine(QPointF(72, 32), QPointF(72, 68)); // finger grip
}

void drawSiteChange(QPainter& p, const Inks& inks) {
    // An infusion set's patch on the skin, with the arrow of a change around its cannula.
    p.setPen(strokePen(inks.line(), 6));
    p.setBrush(inks.fill(QColor(255, 208, 160)));
    p.drawEllipse(QPointF(50, 50), 42, 42);
    p.setBrush(inks.fill(kWhite));
    p.drawEllipse(QPointF(50, 50), 11, 11);
    const QColor arrow = inks.mark(QColor(0, 130, 70));
    p.setPen(strokePen(arrow, 7));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(24, 24, 52, 52);
    p.drawArc(ring, 100 * 16, 270 * 16);
    // The arrow head at the arc's end (angle 10 degrees), pointing along the turn.
    const qreal end = 10.0 * M_PI / 180.0;
    const QPointF tip(50 + 26 * std::cos(end), 50 - 26 * std::sin(end));
    const QPointF head[] = {tip + QPointF(-11, -4), tip + QPointF(9, -6), tip + QPointF(2, 12)};
    p.setPen(strokePen(arrow, 3));
    p.setBrush(arrow);
    p.drawPolygon(head, 3);
}

// A test strip's pad, filled from the bottom as the ketones rise: empty with a minus sign for
// "none", a third, two thirds, full. The level reads in every style, the colour helps in colour.
void drawKetone(QPainter& p, const Inks& inks, int level) {
    static const QColor colours[] = {QColor(250, 240, 215), QColor(240, 160, 200),
                                     QColor(196, 64, 150), QColor(112, 20, 96)};
    const QRectF pad(12, 12, 76, 76);
    p.setPen(Qt::NoPen);
    p.setBrush(inks.fill(colours[0]));
    p.drawRoundedRect(pad, 12, 12);
    if (level > 0) {
        QPainterPath clip;
        clip.addRoundedRect(pad, 12, 12);
        p.save();
        p.setClipPath(clip);
        const qreal height = pad.height() * level / 3.0;
        p.fillRect(QRectF(pad.left(), pad.bottom() - height, pad.width(), height),
                   inks.mark(colours[level]));
        p.restore();
    } else {
        p.setPen(strokePen(inks.line(), 9));
        p.drawLine(QPointF(32, 50), QPointF(68, 50));
    }
    p.setPen(strokePen(inks.line(), 7));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(pad, 12, 12);
}

void drawSick(QPainter& p, const Inks& inks) {
    // A thermometer.
    const QColor mercury = inks.mark(QColor(215, 35, 35));
    p.setPen(strokePen(inks.line(), 6));
    p.setBrush(inks.fill(kWhite));
    p.drawRoundedRect(QRectF(38, 6, 24, 70), 12, 12);
    p.setBrush(mercury);
    p.drawEllipse(QPointF(50, 78), 17, 17);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(45, 30, 10, 40));
    p.setPen(strokePen(inks.line(), 4));
    for (const qreal y : {20.0, 32.0, 44.0, 56.0})
        p.drawLine(QPointF(66, y), QPointF(76, y));
}

void drawActive(QPainter& p, const Inks& inks) {
    // A runner.
    const QColor body = inks.mark(QColor(0, 130, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(QPointF(62, 15), 10, 10);
    p.setPen(strokePen(body, 11));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(56, 32), QPointF(45, 58)); // trunk
    const QPointF frontArm[] = {{56, 34}, {70, 47}, {82, 40}};
    const QPointF backArm[] = {{55, 34}, {39, 38}, {29, 51}};
    const QPointF frontLeg[] = {{45, 58}, {62, 72}, {58, 93}};
    const QPointF backLeg[] = {{45, 58}, {33, 77}, {14, 77}};
    p.drawPolyline(frontArm, 3);
    p.drawPolyline(backArm, 3);
    p.drawPolyline(frontLeg, 3);
    p.drawPolyline(backLeg, 3);
}

// The colours a style gives a report page, for the previews of the selection sheet.
struct PreviewInks {
    QColor band;
    QColor row;
    QColor red;
    QColor blue;
    QColor logo;
};

PreviewInks previewInks(ReportPicture picture) {
    switch (picture) {
    case ReportPicture::PreviewGreyscale:
        return {QColor(233, 233, 231), QColor(233, 233, 231), kBlack, kBlack, QColor(80, 80, 80)};
    case ReportPicture::PreviewBlackAndWhite:
        return {kWhite, kWhite, kBlack, kBlack, kBlack};
    default:
        break;
    }
    return {QColor(160, 185, 185), QColor(233, 233, 231), QColor(255, 0, 0), QColor(0, 0, 255),
            QColor(28, 92, 158)};
}

// A line of text, sketched.
void textStroke(QPainter& p, qreal x, qreal y, qreal width, const QColor& colour = kInk) {
    p.fillRect(QRectF(x, y - 1.5, width, 3), colour);
}

void drawPreview(QPainter& p, ReportPicture picture) {
    const PreviewInks inks = previewInks(picture);
    p.fillRect(QRectF(0, 0, 220, 170), kWhite);
    p.setPen(QPen(QColor(130, 130, 130), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 5, 210, 160));

    // Header: logo, title, period.
    p.setPen(Qt::NoPen);
    p.setBrush(inks.logo);
    p.drawRoundedRect(QRectF(13, 12, 20, 20), 4, 4);
    textStroke(p, 80, 18, 70);
    textStroke(p, 92, 27, 46, QColor(110, 110, 110));

    // A grid of glucose values with a band over it and shaded rows.
    const QRectF grid(13, 40, 126, 104);
    const qreal rowHeight = 13;
    p.fillRect(QRectF(grid.left(), grid.top(), grid.width(), rowHeight), inks.band);
    for (int row = 2; row < 8; row += 2)
        p.fillRect(QRectF(grid.left(), grid.top() + row * rowHeight, grid.width(), rowHeight),
                   inks.row);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(grid);
    for (int column = 1; column < 6; ++column) {
        const qreal x = grid.left() + column * grid.width() / 6;
        p.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
    }
    for (int column = 0; column < 6; ++column)
        textStroke(p, grid.left() + column * 21 + 5, grid.top() + 6.5, 11);
    // Cell kinds by row and column: 0 plain, 1 low, 2 high, 3 very low, 4 very high.
    static const int kinds[7][6] = {{0, 0, 1, 0, 0, 2}, {0, 2, 0, 0, 4, 0}, {0, 0, 0, 3, 0, 0},
                                    {0, 0, 2, 0, 0, 1}, {0, 1, 0, 0, 0, 0}, {0, 0, 0, 2, 0, 4},
                                    {0, 0, 0, 0, 1, 0}};
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 6; ++column) {
            const QRectF cell(grid.left() + column * 21 + 3,
                              grid.top() + (row + 1) * rowHeight + 2.5, 15, 8);
            const int kind = column == 0 ? 0 : kinds[row][column];
            const QColor mark = kind == 1 || kind == 3 ? inks.red : inks.blue;
            if (kind >= 3) {
                p.fillRect(cell, mark);
                textStroke(p, cell.left() + 3, cell.center().y(), 9, kWhite);
            } else if (kind > 0) {
                p.setPen(QPen(mark, 1.2));
                p.drawRect(cell);
                textStroke(p, cell.left() + 3, cell.center().y(), 9, mark);
            } else {
                textStroke(p, cell.left() + 3, cell.center().y(), 9);
            }
        }

    // A trend chart and a block of notes beside the grid.
    const QRectF chart(148, 40, 59, 50);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(chart);
    p.setPen(strokePen(inks.blue, 2.2));
    const QPointF trend[] = {{152, 58}, {163, 70}, {174, 62}, {186, 76}, {197, 66}, {204, 80}};
    p.drawPolyline(trend, 6);
    p.fillRect(QRectF(148, 98, 59, 10), inks.band);
    for (int row = 0; row < 3; ++row) {
        const qreal top = 108 + row * 12;
        if (row % 2 == 1)
            p.fillRect(QRectF(148, top, 59, 12), inks.row);
        textStroke(p, 152, top + 6, 40 - row * 9);
    }

    // Footer and its rule.
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(13, 151), QPointF(207, 151));
    textStroke(p, 13, 157, 34, QColor(120, 120, 120));
    textStroke(p, 90, 157, 40, QColor(120, 120, 120));
    textStroke(p, 191, 157, 16, QColor(120, 120, 120));
}

bool isPreview(ReportPicture picture) {
    return picture == ReportPicture::PreviewColor || picture == ReportPicture::PreviewGreyscale ||
           picture == ReportPicture::PreviewBlackAndWhite;
}

void toGrey(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
}

} // namespace

QSize pictureSize(ReportPicture picture) {
    return isPreview(picture) ? QSize(220, 170) : QSize(100, 100);
}

QString pictureName(ReportPicture picture) {
    switch (picture) {
    case ReportPicture::Logo:
        return QStringLiteral("logo");
    case ReportPicture::Note:
        return QStringLiteral("note");
    case ReportPicture::Delivery:
        return QStringLiteral("delivery");
    case ReportPicture::SiteChange:
        return QStringLiteral("site-change");
    case ReportPicture::KetoneNone:
        return QStringLiteral("ketone-none");
    case ReportPicture::KetoneSmall:
        return QStringLiteral("ketone-small");
    case ReportPicture::KetoneMedium:
        return QStringLiteral("ketone-medium");
    case ReportPicture::KetoneLarge:
        return QStringLiteral("ketone-large");
    case ReportPicture::DaySick:
        return QStringLiteral("day-sick");
    case ReportPicture::DayActive:
        return QStringLiteral("day-active");
    case ReportPicture::PreviewColor:
        return QStringLiteral("preview-color");
    case ReportPicture::PreviewGreyscale:
        return QStringLiteral("preview-greyscale");
    case ReportPicture::PreviewBlackAndWhite:
        return QStringLiteral("preview-bw");
    }
    return QString();
}

QImage renderPicture(ReportPicture picture, int height, ReportStyle style) {
    const QSize own = pictureSize(picture);
    const int h = std::max(1, height);
    const int w = std::max(1, own.width() * h / own.height());
    // Unpremultiplied, so that the grey conversion below may work on the pixels directly.
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(qreal(w) / own.width(), qreal(h) / own.height());
        Inks inks;
        inks.mono = style == ReportStyle::blackAndWhite;
        switch (picture) {
        case ReportPicture::Logo:
            drawLogo(p, inks);
            break;
        case ReportPicture::Note:
            drawNote(p, inks);
            break;
        case ReportPicture::Delivery:
            drawDelivery(p, inks);
            break;
        case ReportPicture::SiteChange:
            drawSiteChange(p, inks);
            break;
        case ReportPicture::KetoneNone:
        case ReportPicture::KetoneSmall:
        case ReportPicture::KetoneMedium:
        case ReportPicture::KetoneLarge:
            drawKetone(p, inks,
                       static_cast<int>(picture) - static_cast<int>(ReportPicture::KetoneNone));
            break;
        case ReportPicture::DaySick:
            drawSick(p, inks);
            break;
        case ReportPicture::DayActive:
            drawActive(p, inks);
            break;
        case ReportPicture::PreviewColor:
        case ReportPicture::PreviewGreyscale:
        case ReportPicture::PreviewBlackAndWhite:
            drawPreview(p, picture);
            break;
        }
    }
    // The previews show their own style whatever the job's; the other pictures follow it.
    if (style == ReportStyle::greyscale && !isPreview(picture))
        toGrey(image);
    image.setText(QStringLiteral("picture"), pictureName(picture));
    return image;
}

ReportPicture ketonePicture(int code) {
    switch (code) {
    case 1:
        return ReportPicture::KetoneNone;
    case 2:
        return ReportPicture::KetoneSmall;
    case 3:
        return ReportPicture::KetoneMedium;
    default:
        return ReportPicture::KetoneLarge;
    }
}
