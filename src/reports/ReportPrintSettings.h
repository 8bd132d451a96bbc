#pragma once

#include "reports/ReportStyle.h"

#include <QString>
#include <ctime>

class SettingsTree;

// The choices of the print selection sheet. The view keeps one copy for as long as the program
// runs; the inclusions, the two week counts and the notes are also kept per patient in the
// settings tree, the dates and the style only in the view's copy.
struct ReportPrintSettings {
    bool includeDocSummary = false;
    bool includeGlucoseStats = false;
    bool includeDaySummary = false;
    bool includeLogDetail = false;
    bool includeBpLog = false;
    bool includePumpStatus = false;
    bool includeFoodLog = false;
    bool includeWorksheet = false;
    int logWeeks = 6;
    std::time_t periodEnd = 0;
    std::time_t worksheetStart = 0;
    int worksheetWeeks = 1;
    ReportStyle style = ReportStyle::color;
    QString patientNotes;

    static constexpr int kMaxLogWeeks = 25;
    static constexpr int kMaxWorksheetWeeks = 99;
    static constexpr int kMaxNotesChars = 255;

    // The defaults of a program start: both dates at this moment.
    static ReportPrintSettings createdAt(std::time_t now);

    bool anySelected() const;
    // Reads the eight inclusions and the two week counts of the patient; a stored 0 or a missing
    // count reads as its default.
    void loadChoices(const SettingsTree& tree, const QString& patient);
    // The patient's stored notes ("PatientNotes").
    static QString storedNotes(const SettingsTree& tree, const QString& patient);
    // Writes the ten choices and the notes; false when the settings could not be written.
    bool save(SettingsTree& tree, const QString& patient) const;
};
