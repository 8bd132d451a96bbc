#pragma once

#include "storage/RecordFields.h"

// QB_RATIO: grams of carbohydrate covered by one unit, from a time of day on.
class QbRatioAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(RatioTime, 5)
    QM_INT_FIELD(CarbCnt)
public:
    virtual ~QbRatioAbs() = default;
};

class QbRatio : public QbRatioAbs {
public:
    QbRatio();
};
