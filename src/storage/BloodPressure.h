#pragma once

#include "storage/RecordFields.h"

// BLOOD_PRESSURE: one vital record (blood pressure, pulse and weight), with its note.
class BloodPressureAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(BpTime, 14)
    QM_INT_FIELD(Systolic)
    QM_INT_FIELD(Diastolic)
    QM_INT_FIELD(Pulse)
    QM_INT_FIELD(NotePk)
    QM_TEXT_FIELD(Weight, 6)
public:
    virtual ~BloodPressureAbs() = default;
};

class BloodPressure : public BloodPressureAbs {
public:
    BloodPressure();
};
