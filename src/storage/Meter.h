#pragma once

#include "storage/RecordFields.h"

// METER: a glucose meter or pump the patient uses.
class MeterAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(Desc, 25)
    QM_TEXT_FIELD(Mfg, 25)
    QM_TEXT_FIELD(Model, 25)
    QM_TEXT_FIELD(SerialNo, 11)
    QM_TEXT_FIELD(SeriviceDate, 8)
public:
    virtual ~MeterAbs() = default;
};

class Meter : public MeterAbs {
public:
    Meter();
};
