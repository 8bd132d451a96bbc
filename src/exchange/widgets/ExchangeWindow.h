#pragma once

#include <functional>

class CQuillmarchApp;
class FileDialogs;
class Progress;
class QWidget;

// What the import and export commands of the main window work with.
struct ExchangeWindow {
    CQuillmarchApp& app;
    FileDialogs& files;
    Progress& progress;
    // Parent of the wait cursor's and the dialogs' window.
    QWidget* parent;
    // Reloads the logbook list (and whatever shows the patient's caches) after an import.
    std::function<void()> reload;
};
