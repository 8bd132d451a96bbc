#pragma once

#include "storage/RecordFields.h"

// QB_SENSITIVITY: the glucose drop one unit produces, from a time of day on.
class QbSensitivityAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(SensTime, 5)
    QM_INT_FIELD(GlucoseCnt)
public:
    virtual ~QbSensitivityAbs() = default;
};

class QbSensitivity : public QbSensitivityAbs {
public:
    QbSensitivity();
};
