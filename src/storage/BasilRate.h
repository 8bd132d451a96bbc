#pragma once

#include "storage/RecordFields.h"

// BASIL_RATE: the pump's basal rate from a time of day until the next row's time.
class BasilRateAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(StartTime, 5)
    QM_TEXT_FIELD(BasilMedAmt, 6)
public:
    virtual ~BasilRateAbs() = default;
};

class BasilRate : public BasilRateAbs {
public:
    BasilRate();
};
