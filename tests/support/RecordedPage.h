#pragma once

#include <QColor>
#include <QLine>
#include <QPageLayout>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

// What was drawn on one page of a recorded job, in device units. Text positions are the start
// of the baseline; `box` spans the ascent and descent over the text's advance.
struct RecordedText {
    QString text;
    QPoint baseline;
    QRect box;
    int points = 0;
    int weight = 0;
    QColor color;
};

struct RecordedFill {
    QRect rect;
    QColor color;
};

struct RecordedLine {
    QLine line;
    int width = 0;
    QColor color;
};

struct RecordedPicture {
    QString name; // the image's "picture" text
    QRect rect;
};

struct RecordedPage {
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QSize size;
    std::vector<RecordedText> texts;
    // Every area filled with a brush: rectangles, and the bounds of filled polygons, paths
    // and ellipses.
    std::vector<RecordedFill> fills;
    std::vector<RecordedLine> lines;
    std::vector<RecordedPicture> pictures;
    // Everything drawn, in order, one line each, integers only (see RecordingSurface::dump).
    QStringList items;

    // The first text drawn exactly as given, or null.
    const RecordedText* findText(const QString& text) const {
        for (const RecordedText& recorded : texts)
            if (recorded.text == text)
                return &recorded;
        return nullptr;
    }
    QStringList textList() const {
        QStringList list;
        for (const RecordedText& recorded : texts)
            list << recorded.text;
        return list;
    }
};
