#pragma once

#include "settings/PreferenceStore.h"
#include "ui/widgets/PropertySheet.h"

class DeleteQuestion;
class GlucoseRangeDlg;
class LogTypesDlg;
class MedicationsDlg;
class MetersDlg;
class PatientDlg;
class PatientSettingsContext;
class PrefBasil;
class PrefMiscDlg;
class ProtocolsDlg;

// The "Preferences" sheet. Its pages read their values once, when the sheet is built. OK and
// Apply store the patient's data, the ranges, the miscellaneous settings and the slots
// together (PreferenceStore); the list pages store each change as it is confirmed.
class PreferenceDlg : public PropertySheet {
    Q_OBJECT
public:
    PreferenceDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                  QWidget* parent = nullptr);

    PatientDlg* patientPage() const { return m_patient; }
    ProtocolsDlg* protocolsPage() const { return m_protocols; }
    MedicationsDlg* medicationsPage() const { return m_medications; }
    LogTypesDlg* logTypesPage() const { return m_logTypes; }
    MetersDlg* metersPage() const { return m_meters; }
    GlucoseRangeDlg* rangesPage() const { return m_ranges; }
    PrefBasil* basalPage() const { return m_basal; }
    PrefMiscDlg* miscPage() const { return m_misc; }

    // Checks and applies the pages, then stores what they hold; false when nothing could be
    // stored.
    bool applyAll() override;

private:
    PatientSettingsContext& m_context;
    PreferenceStore m_store;
    PatientDlg* m_patient;
    ProtocolsDlg* m_protocols;
    MedicationsDlg* m_medications;
    LogTypesDlg* m_logTypes;
    MetersDlg* m_meters;
    GlucoseRangeDlg* m_ranges;
    PrefBasil* m_basal;
    PrefMiscDlg* m_misc;
};

// Opens the sheet over the parent; true when it closed with OK.
bool editPreferences(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent);
