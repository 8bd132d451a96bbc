#include "settings/PreferenceStore.h"

#include "settings/PatientSettingsContext.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/PreferenceTable.h"
#include "storage/SyncState.h"
#include "storage/Transaction.h"
#include "ui/Prompts.h"

bool PreferenceStore::store(const PatientFields& patient, const RangeFields& ranges,
                            const MiscFields& misc, const std::function<void()>& storeSlots) {
    // Edited on a copy, so that the rest of the program sees only what was stored.
    Preference preference = m_context.preference();
    const QString oldName = preference.getPatientName();

    preference.setPatientName(patient.patientName);
    preference.setDoctorName(patient.doctorName);
    preference.setDoctorPhone(patient.doctorPhone);
    preference.setDoctorFax(patient.doctorFax);
    preference.setBirthDate(patient.birthDate);
    preference.setDxDate(patient.dxDate);

    // The range texts were written in the unit the sheet opened with; a unit chosen on the
    // Miscellaneous page does not change how they are read, and converts nothing.
    preference.setGlucoseExtHi(parseGlucoseEntry(ranges.glucoseExtHi));
    preference.setGlucoseHi(parseGlucoseEntry(ranges.glucoseHi));
    preference.setGlucoseLo(parseGlucoseEntry(ranges.glucoseLo));
    preference.setGlucoseExtLo(parseGlucoseEntry(ranges.glucoseExtLo));
    preference.setBpSystolicNormal(ranges.bpSystolicNormal);
    preference.setBpSystolicModerate(ranges.bpSystolicModerate);
    preference.setBpSystolicHi(ranges.bpSystolicHi);
    preference.setBpDiastolicNormal(ranges.bpDiastolicNormal);
    preference.setBpDiastolicModerate(ranges.bpDiastolicModerate);
    preference.setBpDiastolicHi(ranges.bpDiastolicHi);

    preference.setMilitaryTimeBol(misc.militaryTime);
    if (misc.askDelete)
        preference.setAskDeleteBol(*misc.askDelete);
    preference.setRetainPcDayCnt(misc.retainDays);
    preference.setDeliveryCode(misc.deliveryCode);
    preference.setGlucoseSampleCode(misc.glucoseUnit);

    if (!saveWithName(preference, oldName))
        return false;
    m_context.preference() = preference;

    if (storeSlots)
        storeSlots();

    if (preference.getDeliveryCode() != m_deliveryAtOpening)
        offerDeliveryUpdate(preference.getDeliveryCode());
    return true;
}

bool PreferenceStore::saveWithName(Preference& edited, const QString& oldName) {
    Database& db = m_context.database();
    Prompts& prompts = m_context.prompts();
    const QString newName = edited.getPatientName();
    Transaction unit(db);
    if (!PreferenceTable::save(db, edited)) {
        const QString error = db.errorText();
        unit.rollback();
        prompts.error(QString::fromLatin1(kDatabaseCaption), error);
        return false;
    }
    // The settings tree is keyed by the patient's name, so they move with it; a record whose
    // name no settings follow would lose them at the next start.
    const bool renamed = newName != oldName;
    if (renamed && !m_context.renamePatient(newName)) {
        unit.rollback();
        prompts.error(QString::fromLatin1(kProgramCaption),
                      QString::fromLatin1(kRenameFailed).arg(newName));
        return false;
    }
    if (!unit.commit()) {
        const QString error = db.errorText();
        if (renamed)
            m_context.renamePatient(oldName);
        prompts.error(QString::fromLatin1(kDatabaseCaption), error);
        return false;
    }
    return true;
}

void PreferenceStore::offerDeliveryUpdate(int newDelivery) {
    const QString oldName = deliveryName(m_deliveryAtOpening);
    const QString newName = deliveryName(newDelivery);
    Prompts& prompts = m_context.prompts();
    if (!prompts.askYesNo(QString::fromLatin1(kProgramCaption),
                          QString::fromLatin1(kDeliveryQuestion).arg(oldName, newName, newName)))
        return;

    // Both changes or neither: entries that took the new delivery must also be sent to the
    // handheld again, or it would keep showing the old one.
    Database& db = m_context.database();
    Transaction unit(db);
    const bool updated =
        db.exec(kUpdateDelivery, long(newDelivery)) &&
        db.exec(kResendKnownEntries, long(SyncState::Changed), long(SyncState::Deleted)) &&
        unit.commit();
    if (!updated)
        prompts.information(QString::fromLatin1(kProgramCaption),
                            QString::fromLatin1(kUpdateFailed));
}
