#pragma once

#include "storage/RecordFields.h"

#include <QString>
#include <vector>

class Database;

// The four glucose limits that apply at one time of day.
struct GlucoseRange {
    int extLo = 0;
    int lo = 0;
    int hi = 0;
    int extHi = 0;
    bool operator==(const GlucoseRange&) const = default;
};

// One quick-bolus target, kept with the preference so that glucose values can be
// classified by time of day without reading the database while drawing.
struct TargetPeriod {
    static constexpr int kTimeWidth = 7;
    QString time; // "HH:MM"
    int extLo = 0;
    int lo = 0;
    int hi = 0;
    int extHi = 0;
};

// PREFERENCE: the patient's settings, one row (PK 1).
class PreferenceAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(PatientName, 35)
    QM_TEXT_FIELD(DoctorName, 35)
    QM_TEXT_FIELD(DoctorPhone, 15)
    QM_TEXT_FIELD(DoctorFax, 15)
    QM_TEXT_FIELD(BirthDate, 8)
    QM_TEXT_FIELD(DxDate, 8)
    QM_INT_FIELD(RetainHhDayCnt)
    QM_INT_FIELD(RetainPcDayCnt)
    QM_BOOL_FIELD(MilitaryTimeBol)
    QM_BOOL_FIELD(AskDeleteBol)
    QM_INT_FIELD(BpSystolicNormal)
    QM_INT_FIELD(BpSystolicHi)
    QM_INT_FIELD(BpSystolicModerate)
    QM_INT_FIELD(BpDiastolicNormal)
    QM_INT_FIELD(BpDiastolicModerate)
    QM_INT_FIELD(BpDiastolicHi)
    QM_INT_FIELD(GlucoseSampleCode)
    QM_INT_FIELD(DeliveryCode)
    QM_INT_FIELD(GlucoseLo)
    QM_INT_FIELD(GlucoseExtLo)
    QM_INT_FIELD(GlucoseHi)
    QM_INT_FIELD(GlucoseExtHi)
public:
    virtual ~PreferenceAbs() = default;
};

class Preference : public PreferenceAbs {
public:
    static constexpr int kMaxTargetPeriods = 10;

    Preference();

    // On a Preference, clearing means going back to the defaults (PK, FK and sync_state
    // stay as they are).
    void clear() override { setDefaults(); }
    void setDefaults();

    // Copies the live quick-bolus targets, in time order, when the calculator is switched
    // on; otherwise leaves none. Returns how many are held.
    int loadTargetPeriods(Database& db);
    const std::vector<TargetPeriod>& targetPeriods() const { return m_periods; }
    int targetPeriodCount() const { return static_cast<int>(m_periods.size()); }

    // The range in force at a time of day: "HH:MM", "HHMM" or a 14-digit timestamp.
    // Without a time or without targets it is the record's own range.
    GlucoseRange getGlucoseRange(const QString& time) const;

    // A glucose value in the patient's unit as mg/dL (tenths of mmol/L are converted).
    int toMgDl(int value) const;

private:
    std::vector<TargetPeriod> m_periods;
};
