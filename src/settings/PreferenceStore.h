#pragma once

#include <QString>
#include <functional>
#include <optional>

class PatientSettingsContext;
class Preference;

// The values of the Patient page, as they are stored.
struct PatientFields {
    QString patientName;
    QString doctorName;
    QString doctorPhone;
    QString doctorFax;
    QString birthDate; // YYYYMMDD, or whatever was stored when the date was never picked
    QString dxDate;
};

// The values of the Ranges page. The glucose limits are texts in the unit in force when the
// sheet opened; the store parses them.
struct RangeFields {
    QString glucoseExtLo;
    QString glucoseLo;
    QString glucoseHi;
    QString glucoseExtHi;
    int bpSystolicNormal = 0;
    int bpSystolicModerate = 0;
    int bpSystolicHi = 0;
    int bpDiastolicNormal = 0;
    int bpDiastolicModerate = 0;
    int bpDiastolicHi = 0;
};

// The values of the Miscellaneous page.
struct MiscFields {
    bool militaryTime = false;
    // Nothing while the patient has not touched the box: the record's own value stays, as a
    // removal answered inside the sheet may have turned the question off meanwhile.
    std::optional<bool> askDelete;
    int retainDays = 0;
    int glucoseUnit = 0;
    int deliveryCode = 0;
};

// Stores what the Preferences sheet holds, in this order: the patient's data, the ranges
// (parsed in the glucose unit in force before this store), the miscellaneous settings, the
// preference record itself; then the patient is renamed when the name changed, the slots are
// stored (storeSlots), and when the default delivery now differs from the one the sheet
// opened with, the patient is asked whether every log entry should take the new delivery.
// Nothing of the log changes on No.
//
// The record and the patient's name go together: when the record cannot be saved, or the
// patient's settings cannot follow a new name, nothing of either is kept (the cached record
// included), the patient is told, nothing further is stored and the store answers false.
class PreferenceStore {
public:
    static constexpr const char* kUpdateDelivery = "UPDATE SAMPLE SET DELIVERY_CODE=%ld";
    static constexpr const char* kResendKnownEntries =
        "UPDATE SAMPLE SET SYNC_STATE=%ld where FK > 0 and sync_state <> %ld";
    static constexpr const char* kDeliveryQuestion =
        "You changed your default delivery from %1 to %2.\n\nDo you want to update all log "
        "entries to %3 as the delivery?";
    static constexpr const char* kUpdateFailed = "Update Failed";
    static constexpr const char* kDatabaseCaption = "Database";
    static constexpr const char* kRenameFailed =
        "The patient's settings could not be moved to the name %1. Nothing was changed.";

    PreferenceStore(PatientSettingsContext& context, int deliveryAtOpening)
        : m_context(context), m_deliveryAtOpening(deliveryAtOpening) {}

    bool store(const PatientFields& patient, const RangeFields& ranges, const MiscFields& misc,
               const std::function<void()>& storeSlots);

private:
    // Saves the record and renames the patient when the name changed, both or neither.
    bool saveWithName(Preference& edited, const QString& oldName);
    void offerDeliveryUpdate(int newDelivery);

    PatientSettingsContext& m_context;
    int m_deliveryAtOpening;
};
