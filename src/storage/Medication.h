#pragma once

#include "storage/RecordFields.h"

#include <cstdint>

class Clock;

// MEDICATION: one of the patient's medications or insulins, known in dosage lists by its
// one-letter MED_CODE.
class MedicationAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_BOOL_FIELD(IsInsulinBol)
    QM_BOOL_FIELD(ActiveBol)
    QM_BOOL_FIELD(IncludeInTotalsBol)
    QM_TEXT_FIELD(MedCode, 2)
    QM_TEXT_FIELD(MedDesc, 25)
    QM_TEXT_FIELD(OpenDate, 8)
    QM_INT_FIELD(ExpireDayCnt)
    QM_INT_FIELD(IncrementByCode)
    QM_TEXT_FIELD(RxOrderId, 10)
public:
    virtual ~MedicationAbs() = default;

    // Whole days from now until the opened vial expires (the midnight that starts OPEN_DATE
    // plus EXPIRE_DAY_CNT days), truncated toward zero; negative once it has expired.
    // Throws InvalidDateText when OPEN_DATE is not a valid date (an empty one included).
    std::int64_t getDaysLeft(const Clock& clock) const;
};

class Medication : public MedicationAbs {
public:
    Medication();
};
