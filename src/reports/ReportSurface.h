#pragma once

#include <QPageLayout>
#include <QRect>
#include <QSize>

class QPainter;

// What a report draws on: the pages of one print job. The same reports draw on a printer, the
// print preview, a PDF file and, in the tests, a recording device.
class ReportSurface {
public:
    virtual ~ReportSurface() = default;

    // Starts the next page in the given orientation; the first call starts the job itself.
    // False when the device cannot take another page (a file that cannot be written).
    virtual bool startPage(QPageLayout::Orientation orientation) = 0;
    // The painter of the current page; valid once a page has been started.
    virtual QPainter& painter() = 0;
    // Device units per inch, vertically (the spacing of every report derives from it).
    virtual int logicalDpiY() const = 0;
    // The current page's size in device units (its horizontal and vertical resolution).
    virtual QSize pageSize() const = 0;
    // The part of the page the printer can draw on, in device units.
    virtual QRect drawingRect() const = 0;
    // How many colours the device prints; fewer than 3 turns a colour job to grey.
    virtual int colorCount() const = 0;
    // Ends the job; false when it could not be completed.
    virtual bool finish() = 0;
    // Pages started so far.
    virtual int pageCount() const = 0;
};
