#include "reports/widgets/ReportSelectionDlg.h"

#include "reports/widgets/ReportColorPage.h"
#include "reports/widgets/ReportSelectionPage.h"
#include "settings/PatientSettingsContext.h"
#include "settings/widgets/PatientNotesPage.h"

ReportSelectionDlg::ReportSelectionDlg(PatientSettingsContext& context, SettingsTree& tree,
                                       const QString& patient, QWidget* parent)
    : PropertySheet(QStringLiteral("Print"), parent), m_context(context), m_rules(tree, patient) {}

ReportSelectionDlg::~ReportSelectionDlg() = default;

void ReportSelectionDlg::buildPages() {
    ReportPrintSettings& values = m_rules.values();
    m_selection =
        new ReportSelectionPage(values, ReportSelection::pumpStatusAvailable(m_context.database()),
                                m_context.prompts(), this);
    m_notes = new PatientNotesPage(m_context, values.patientNotes, this);
    m_color = new ReportColorPage(values.style, this);
    addPage(m_selection, QString::fromLatin1(ReportSelectionPage::kTitle));
    addPage(m_notes, QString::fromLatin1(PatientNotesPage::kTitle));
    addPage(m_color, QString::fromLatin1(ReportColorPage::kTitle));
}

bool ReportSelectionDlg::run(ReportPrintSettings& settings) {
    // The ticks and counts are the patient's stored ones, read at every print, whatever the
    // caller's copy holds.
    m_rules.open(settings);
    buildPages();
    setCurrentPage(0);
    if (exec() != QDialog::Accepted)
        return false;
    settings = m_rules.values();
    return true;
}

bool ReportSelectionDlg::applyAll() {
    if (!PropertySheet::applyAll())
        return false;
    // The selection page has written its fields into the values; the notes and the style are
    // taken from their pages.
    ReportPrintSettings& values = m_rules.values();
    values.patientNotes = m_notes->notes();
    values.style = m_color->style();
    // Settings that cannot be written have been reported by the settings tree; the choices
    // still serve this print.
    m_rules.commit();
    return true;
}
