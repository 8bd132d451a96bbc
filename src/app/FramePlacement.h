#pragma once

#include <QRect>

// Where the main window opens: 800 wide, centred when the desktop is wider, at the top,
// and as tall as the desktop less 50 pixels.
inline QRect mainFramePlacement(const QRect& desktop) {
    constexpr int kWidth = 800;
    int left = desktop.width() > kWidth ? (desktop.width() - kWidth) / 2 : 0;
    return QRect(desktop.left() + left, desktop.top(), kWidth, desktop.height() - 50);
}
