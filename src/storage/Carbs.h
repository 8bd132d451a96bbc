#pragma once

#include "storage/RecordFields.h"

// CARBS: one food of the patient's carbohydrate list. Unlike every other table, the
// category comes before SYNC_STATE, so the accessors follow that order too.
class CarbsAbs {
public:
    virtual void clear();
    QM_INT_FIELD(Pk)
    QM_INT_FIELD(Fk)
    QM_INT_FIELD(Catagory)
    QM_INT_FIELD(SyncState)
    QM_TEXT_FIELD(CarbName, 25)
    QM_INT_FIELD(CarbCnt)
public:
    virtual ~CarbsAbs() = default;
};

class Carbs : public CarbsAbs {
public:
    Carbs();
};
