#include "settings/widgets/PreferenceDlg.h"

#include "settings/PatientSettingsContext.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/MetersDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PrefBasil.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/ProtocolsDlg.h"
#include "storage/Preference.h"

namespace {

template <class Page> QString titleOf() {
    return QString::fromLatin1(Page::kTitle);
}

} // namespace

PreferenceDlg::PreferenceDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                             QWidget* parent)
    : PropertySheet(QStringLiteral("Preferences"), parent), m_context(context),
      // The delivery question compares with the delivery the sheet opened with, so that
      // every Apply asks again while the two differ.
      m_store(context, context.preference().getDeliveryCode()), m_patient(new PatientDlg(context)),
      m_protocols(new ProtocolsDlg(context, deleteQuestion)),
      m_medications(new MedicationsDlg(context, deleteQuestion)),
      m_logTypes(new LogTypesDlg(context)), m_meters(new MetersDlg(context, deleteQuestion)),
      m_ranges(new GlucoseRangeDlg(context)), m_basal(new PrefBasil(context, deleteQuestion)),
      m_misc(new PrefMiscDlg(context)) {
    addPage(m_patient, titleOf<PatientDlg>());
    addPage(m_protocols, titleOf<ProtocolsDlg>());
    addPage(m_medications, titleOf<MedicationsDlg>());
    addPage(m_logTypes, titleOf<LogTypesDlg>());
    addPage(m_meters, titleOf<MetersDlg>());
    addPage(m_ranges, titleOf<GlucoseRangeDlg>());
    addPage(m_basal, titleOf<PrefBasil>());
    addPage(m_misc, titleOf<PrefMiscDlg>());
}

bool PreferenceDlg::applyAll() {
    if (!PropertySheet::applyAll())
        return false;
    // A store that failed has told the patient and kept nothing; the sheet stays open.
    return m_store.store(m_patient->fields(), m_ranges->fields(), m_misc->fields(),
                         [this] { m_logTypes->store(); });
}

bool editPreferences(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent) {
    PreferenceDlg sheet(context, deleteQuestion, parent);
    return sheet.exec() == QDialog::Accepted;
}
