#pragma once

#include "logbook/LogCells.h"

#include <QFont>
#include <QPixmap>

// What the logbook's widgets draw alike: the pictures and the bold font of alarm values and
// day rows.
namespace LogbookLook {

// The font with the heavy weight the logbook draws emphasized texts in.
QFont bold(QFont font);

// The picture of an icon, or an empty one for None.
QPixmap iconPixmap(LogIcon icon);

} // namespace LogbookLook
