#pragma once

#include "reports/ReportPrintSettings.h"
#include "reports/ReportStyle.h"

#include <QString>
#include <ctime>

class Database;
class SettingsTree;

// The rules of the print selection sheet, apart from its widgets: what the sheet shows when
// it opens, which fields are offered for the boxes ticked, the ranges of the week counts and
// what is kept when the patient confirms.
class ReportSelection {
public:
    enum class WeekField { LogWeeks, WorksheetWeeks };

    ReportSelection(SettingsTree& tree, const QString& patient);

    // The caller's copy with the patient's stored choices over it: the eight inclusions and the
    // two week counts come from the settings tree, the dates and the style from the copy, the
    // notes from the copy unless it has none, and then the patient's stored ones.
    void open(const ReportPrintSettings& copy);
    ReportPrintSettings& values() { return m_values; }
    const ReportPrintSettings& values() const { return m_values; }
    // Writes the ten choices and the notes for the patient; false when they could not be
    // written.
    bool commit() const;

    // The period end and the log weeks serve the reports that cover a period.
    static bool periodEnabled(const ReportPrintSettings& values);
    static bool worksheetEnabled(const ReportPrintSettings& values);
    // The quick bolus and infusion site report is offered only to a patient whose quick-bolus
    // settings exist and switch it on.
    static bool pumpStatusAvailable(Database& db);

    static int minimum(WeekField) { return 1; }
    static int maximum(WeekField field);
    // The count typed into a week field, or the message that refuses it (empty when it is
    // accepted).
    struct WeekCount {
        int value = 0;
        QString refusal;
    };
    static WeekCount parseWeeks(WeekField field, const QString& text);

    // The style's radio on the colour page (0, 1, 2) and back; an index outside gives colour.
    static int radioIndex(ReportStyle style);
    static ReportStyle styleAtRadio(int index);

    // The moment with its calendar day replaced by the picked one, keeping the time of day.
    static std::time_t withDate(std::time_t moment, int year, int month, int day);

private:
    SettingsTree& m_tree;
    QString m_patient;
    ReportPrintSettings m_values;
};
