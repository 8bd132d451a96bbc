#pragma once

#include <QUrl>
#include <functional>

struct ExchangeWindow;

// File > "Save As....": the logbook is written as tab-delimited or fixed-width text to a file
// the patient chooses; afterwards the patient may open it in the program the desktop has for
// it (`openFile`, QDesktopServices::openUrl by default).
void saveAsCommand(ExchangeWindow& window, const std::function<bool(const QUrl&)>& openFile = {});
