#pragma once

#include "storage/RecordFields.h"

// QB_TARGET: the glucose target range from a time of day on. The extreme limits are
// derived from the range when the row is saved.
class QbTargetAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(TargetTime, 5)
    QM_INT_FIELD(GlucoseLo)
    QM_INT_FIELD(GlucoseLoExt)
    QM_INT_FIELD(GlucoseHi)
    QM_INT_FIELD(GlucoseHiExt)
public:
    virtual ~QbTargetAbs() = default;
};

class QbTarget : public QbTargetAbs {
public:
    QbTarget();
};
