#pragma once

#include "reports/ReportStyle.h"

#include <QImage>
#include <QSize>

// The pictures the reports print: the logo, the legend icons and the previews of the three
// colour styles shown on the selection sheet. They are drawn by the program, not loaded.
enum class ReportPicture {
    Logo,
    Note,         // an entry or day with a note
    Delivery,     // a delivery other than the patient's usual one
    SiteChange,   // infusion site changed
    KetoneNone,   // ketone code 1 ("Negative")
    KetoneSmall,  // 2
    KetoneMedium, // 3
    KetoneLarge,  // 4 (and any other non-zero code where a report shows one)
    DaySick,      // day type 0
    DayActive,    // day type 2
    PreviewColor,
    PreviewGreyscale,
    PreviewBlackAndWhite,
};

// The picture's own proportions (its width and height in its own units).
QSize pictureSize(ReportPicture picture);
// The picture rendered at the given height (width in proportion) for the given style. The image
// carries its name under the text key "picture", so that a recording of a page can tell which
// picture was drawn.
QImage renderPicture(ReportPicture picture, int height, ReportStyle style);
QString pictureName(ReportPicture picture);
// The icon of a non-zero ketone code: 1 to 3 their own, 4 and any other code the "large" one.
ReportPicture ketonePicture(int code);
