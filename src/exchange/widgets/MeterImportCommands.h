#pragma once

#include "exchange/CgmInsulin.h"

#include <functional>
#include <optional>
#include <vector>

struct CgmFormat;
struct ExchangeWindow;
struct ImportResult;
class CQuillmarchApp;
class QWidget;

// File > Import > "OneTouch Data ..." and "BG Tracker4 ...": the file is chosen, imported and
// the outcome told; the list reloads when records were imported.
void importOneTouchCommand(ExchangeWindow& window);
void importBgTrackerCommand(ExchangeWindow& window);

// Asks which insulins take an export's doses; nothing when the patient cancelled.
using CgmInsulinAsk = std::function<std::optional<CgmInsulinChoice>(
    QWidget* parent, const std::vector<CgmInsulinOption>& insulins,
    const CgmInsulinChoice& suggested)>;
// The "Insulin of the export" dialog.
std::optional<CgmInsulinChoice> askCgmInsulin(QWidget* parent,
                                              const std::vector<CgmInsulinOption>& insulins,
                                              const CgmInsulinChoice& suggested);

// File > Import > "Clarity CGM Data ...", "LibreView Data ...", "Nightscout Data ...": the file
// is chosen and read; when it holds insulin doses the patient says which insulins they are
// (`ask`); then it is imported and the outcome told as for the meter files.
void importCgmCommand(ExchangeWindow& window, const CgmFormat& format,
                      const CgmInsulinAsk& ask = askCgmInsulin);
// What a CGM import that succeeded tells at its end.
QString cgmOutcomeText(const QString& path, const ImportResult& result);

// File > Import > "OneTouch Meter ...": starts the companion meter download program from the
// program's folder with "user=<patient>"; a program that is not there is reported.
void startMeterProgram(CQuillmarchApp& app);
