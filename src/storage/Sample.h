#pragma once

#include "storage/RecordFields.h"

// SAMPLE: one log entry taken at one of the patient's time-of-day slots.
class SampleAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_INT_FIELD(SampleDatePk)
    QM_INT_FIELD(SampleTypePk)
    QM_TEXT_FIELD(SampleTime, 14)
    QM_INT_FIELD(CarbCnt)
    QM_INT_FIELD(GlucoseCnt)
    QM_INT_FIELD(NotePk)
    QM_INT_FIELD(KeytoneCode)
    QM_TEXT_FIELD(InsulinTime, 14)
    QM_TEXT_FIELD(MedicationDosage, 15)
    QM_TEXT_FIELD(CorrectionDosage, 15)
    QM_BOOL_FIELD(NewSiteBol)
    QM_INT_FIELD(DeliveryCode)
public:
    virtual ~SampleAbs() = default;
};

class Sample : public SampleAbs {
public:
    Sample();
};
