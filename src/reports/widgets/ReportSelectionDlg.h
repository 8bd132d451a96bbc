#pragma once

#include "reports/ReportSelection.h"
#include "ui/widgets/PropertySheet.h"

class PatientNotesPage;
class PatientSettingsContext;
class ReportColorPage;
class ReportSelectionPage;
class SettingsTree;

// The "Print" sheet: which reports, for which period, the notes for the physician and the
// colour style. The patient's choices are kept in the settings tree whenever the sheet is
// confirmed or applied.
class ReportSelectionDlg : public PropertySheet {
    Q_OBJECT
public:
    ReportSelectionDlg(PatientSettingsContext& context, SettingsTree& tree, const QString& patient,
                       QWidget* parent = nullptr);
    ~ReportSelectionDlg() override;

    // Shows the sheet over the caller's copy (its dates, style and notes; the other choices are
    // the patient's stored ones). True only when the patient confirms with OK; the copy then
    // holds the confirmed choices. A sheet serves one run: its pages are filled once.
    bool run(ReportPrintSettings& settings);

    // Checks and applies the pages, then collects their values and stores them.
    bool applyAll() override;

    ReportSelectionPage* selectionPage() const { return m_selection; }
    PatientNotesPage* notesPage() const { return m_notes; }
    ReportColorPage* colorPage() const { return m_color; }
    const ReportPrintSettings& values() const { return m_rules.values(); }

private:
    void buildPages();

    PatientSettingsContext& m_context;
    ReportSelection m_rules;
    ReportSelectionPage* m_selection = nullptr;
    PatientNotesPage* m_notes = nullptr;
    ReportColorPage* m_color = nullptr;
};
