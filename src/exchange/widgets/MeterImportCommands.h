#pragma once

struct ExchangeWindow;
class CQuillmarchApp;

// File > Import > "OneTouch Data ..." and "BG Tracker4 ...": the file is chosen, imported and
// the outcome told; the list reloads when records were imported.
void importOneTouchCommand(ExchangeWindow& window);
void importBgTrackerCommand(ExchangeWindow& window);

// File > Import > "OneTouch Meter ...": starts the companion meter download program from the
// program's folder with "user=<patient>"; a program that is not there is reported.
void startMeterProgram(CQuillmarchApp& app);
