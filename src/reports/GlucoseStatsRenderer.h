#pragma once

#include "reports/GlucoseStatsData.h"
#include "reports/ReportPage.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <QRect>

// Lays the glucose statistics out on one landscape page: the header across the page, then the
// time-in-ranges bar and the numbers in the left column and the ambulatory glucose profile in
// the right one.
class GlucoseStatsRenderer {
public:
    GlucoseStatsRenderer(const ReportPage& page, const GlucoseStatsData& data);
    void draw(int pageNumber);

private:
    int drawTimeInRanges(int top);
    int drawMetrics(int top);
    void drawWarnings(int top);
    void drawProfile(int top);
    void drawProfileAxes(const QRect& plot);
    // The area between two percentile curves (indexes into the bin's percentiles), one polygon
    // per run of bins with readings, so that a gap stays open.
    void drawProfileBand(const QRect& plot, int lower, int upper, const QColor& fill,
                         Qt::PenStyle outline);
    void drawProfileMedian(const QRect& plot);
    // The x positions of a run of bins `first`..`last`: bin centres, or the bin's own edges for
    // a run of one bin so that it still shows as a short stroke.
    std::vector<double> runXs(const QRect& plot, int first, int last) const;
    double yOf(const QRect& plot, double mgdl) const;
    // The band's colour in the bar (white in black and white, where frames tell them apart).
    QColor bandColor(GlucoseStats::Band band) const;
    void text(const QString& shown, const QRect& rect, ReportPage::Align align, bool bold = false,
              const QColor& color = Qt::black) const;
    // The section's band with its title; returns the top of its body.
    int band(const QRect& column, int top, const QString& title) const;

    const ReportPage& m_page;
    const GlucoseStatsData& m_data;
    int m_margin;
    int m_padding;
    QFont m_text;
    QFont m_bold;
    int m_line;
    QRect m_area;
    QRect m_left;
    QRect m_right;
    int m_bottom;
};
