#pragma once

#include "storage/RecordFields.h"

// A1C: one hemoglobin A1c result, kept as the patient typed it.
class A1cAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(A1cDate, 8)
    QM_TEXT_FIELD(A1cCount, 5)
public:
    virtual ~A1cAbs() = default;
};

class A1c : public A1cAbs {
public:
    A1c();
};
