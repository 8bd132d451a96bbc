#pragma once

#include "reports/ReportPictures.h"
#include "reports/ReportStyle.h"
#include "storage/Preference.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QRect>
#include <QString>
#include <QStringList>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

class QFontMetrics;
class QPainter;
class ReportSurface;

// The set-up every report does when it starts printing, and the drawing all reports share:
// palette, pens and brushes of the style, fonts, frame, text cell, picture, glucose cell and
// the page footer. Built once per report, after the report's first page has been started.
class ReportPage {
public:
    enum class Align { Left, Center, Right };
    enum class FontRole { Title, Text, TextBold, Small };
    // One item of a legend line: a text with its picture after it, or before it.
    struct LegendItem {
        QString text;
        ReportPicture picture;
        bool pictureFirst = false;
    };
    // How a classified value stands out in its cell: as it is, in ink with a frame in that
    // ink, or bold white on a fill of that ink.
    enum class Mark { Plain, Ink, Alarm };

    // Reads the device (resolution, page, colours) and builds the pens, brushes and fonts. A
    // `color` job on a device with fewer than 3 colours prints as `greyscale`.
    ReportPage(ReportSurface& surface, ReportStyle style, const QString& versionText,
               std::time_t printedAt);
    ~ReportPage();
    ReportPage(const ReportPage&) = delete;
    ReportPage& operator=(const ReportPage&) = delete;

    ReportSurface& surface() const { return m_surface; }
    QPainter& painter() const;
    ReportStyle style() const { return m_style; }
    int dpi() const { return m_dpi; }
    int margin() const { return m_dpi / 4; }
    int padding() const { return m_dpi / 32; }
    // The device page inset by the margin on all sides (or on the left and right only), then
    // intersected with the drawing rectangle.
    QRect pageRect(bool insetTopAndBottom = true) const;

    // Palette roles and the brushes and pens built from them.
    QColor lightFill() const;
    QColor shade() const;
    QColor blueInk() const;
    QColor redInk() const;
    const QBrush& blackBrush() const { return m_black; }
    const QBrush& whiteBrush() const { return m_white; }
    const QBrush& lightBrush() const { return m_light; }
    const QBrush& blueBrush() const { return m_blue; }
    const QBrush& redBrush() const { return m_red; }
    const QBrush& emphasisBrush() const { return m_emphasis; }
    const QPen& thinPen() const { return m_thin; }
    const QPen& thickPen() const { return m_thick; }
    const QPen& bluePen() const { return m_bluePen; }
    const QPen& redPen() const { return m_redPen; }
    const QPen& hairlinePen() const { return m_hairline; }
    // Whether rows and bands may be shaded (never in black and white).
    bool shades() const { return m_style != ReportStyle::blackAndWhite; }

    // "Arial" at the device's resolution: title 12 pt weight 800, text 8 pt, bold text 8 pt
    // weight 800, small 6 pt.
    QFont font(FontRole role) const;
    QFont makeFont(int points, int weight) const;
    // Height + external leading of a font on this device (the reports add their padding).
    int fontLineHeight(const QFont& font) const;

    // Fills the rectangle with the brush when one is given, then draws its four sides.
    void frame(const QRect& rect, const QPen& pen, const QBrush* brush = nullptr) const;
    // One line of text, vertically centred in the rectangle shrunk by the inset.
    void textCell(const QString& text, const QRect& rect, int inset, Align align,
                  const QBrush* brush = nullptr) const;
    // One line of black text in the font, placed as `textCell` places it; nothing for an empty
    // text.
    void label(const QString& text, const QRect& rect, const QFont& font, Align align,
               int inset = 0) const;
    // The same, shortened with an ellipsis when it is wider than the rectangle.
    void fittedLabel(const QString& text, const QRect& rect, const QFont& font, Align align) const;
    // Draws the picture with its top-left at `topLeft`, `height` high; returns the drawn width.
    int picture(ReportPicture picture, const QPoint& topLeft, int height) const;
    // A glucose value classified against the range: in range plain, near-range in red or blue
    // ink with a frame, beyond the extremes white on red or blue.
    void glucoseCell(const QRect& rect, int value, const GlucoseRange& range, int unit,
                     const QFont& normal, const QFont& bold, const QPen& red,
                     const QPen& blue) const;
    // The head of a page: the logo at the top left of `area`, two margins high, the title
    // centred in the title font and under it the subtitle, centred in `subtitleFont`. Returns
    // where the body may start: half a margin below the subtitle and clear of the logo.
    int header(const QString& title, const QString& subtitle, const QRect& area,
               const QFont& subtitleFont) const;
    // The items side by side from `left` on the line `top`..`top + lineHeight`, texts in
    // `font`, pictures as high as the line less the padding above and below; returns the x
    // after the last item.
    int legend(const std::vector<LegendItem>& items, int left, int top, int lineHeight,
               const QFont& font) const;
    // A value cell in the blue or red of the palette: the rectangle shrunk by 5 device units,
    // marked, with the text centred on one line (shortened with an ellipsis when too wide).
    void markedCell(const QRect& rect, const QString& text, Mark mark, bool blue,
                    const QFont& normal, const QFont& bold, const QPen& framePen) const;

    // Newspaper columns on the current page: 2 when it is taller than wide, 3 otherwise.
    int newspaperColumnCount() const;
    // `count` equal columns centred across the page rectangle, `gap` apart, each
    // (page rectangle width) / count - gap wide, from `top` to `bottom`.
    std::vector<QRect> columns(int count, int gap, int top, int bottom) const;
    // A text as the lines of a column: split at line breaks, each line wrapped at word ends to
    // the width (a word wider than the column is cut).
    static QStringList wrapLines(const QString& text, const QFontMetrics& metrics, int width);
    // The footer band: one line of the small font at the bottom of the page rectangle (or of
    // the rectangle a report lays its page out in).
    QRect footerBand() const;
    QRect footerBand(const QRect& pageRect) const;
    // Where the body of a page ends: the padding above the footer band, where its rule runs.
    int bodyBottom() const;
    // Product line and version, "Printed:...", "Page %d " and, the padding above the band, a
    // rule in the current pen.
    void footer(int pageNumber) const;
    void footer(int pageNumber, const QRect& band) const;

private:
    ReportSurface& m_surface;
    ReportStyle m_style;
    QString m_versionText;
    std::time_t m_printedAt;
    int m_dpi;
    QBrush m_black, m_white, m_light, m_blue, m_red, m_emphasis;
    QPen m_thin, m_thick, m_bluePen, m_redPen, m_hairline;
    QBrush m_previousBackground;
    Qt::BGMode m_previousBackgroundMode = Qt::TransparentMode;
    // Rendered pictures by (picture, height).
    mutable std::map<std::pair<int, int>, QImage> m_pictures;
};
