#pragma once

#include "storage/RecordFields.h"

// SAMPLE_TYPE: one of the patient's time-of-day slots ("Breakfast" from 0700 on).
class SampleTypeAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(SampleTime, 4)
    QM_TEXT_FIELD(Desc, 15)
    QM_TEXT_FIELD(MedicationDosage, 15)
public:
    virtual ~SampleTypeAbs() = default;
};

class SampleType : public SampleTypeAbs {
public:
    SampleType();
};
