#pragma once

#include "storage/RecordFields.h"

// SAMPLE_DATE: one row per calendar day of the logbook, with the day's totals.
class SampleDateAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_INT_FIELD(SummaryState)
    QM_TEXT_FIELD(SampleDate, 8)
    QM_INT_FIELD(DayTypeId)
    QM_INT_FIELD(TtlCarbCnt)
    QM_INT_FIELD(AvgGlucoseCnt)
    QM_INT_FIELD(TtlSampleCnt)
    QM_INT_FIELD(TtlInsulinAmt)
    QM_INT_FIELD(MaxKeytoneCode)
    QM_INT_FIELD(NotePk)
    QM_BOOL_FIELD(NewSiteBol)
public:
    virtual ~SampleDateAbs() = default;
};

class SampleDate : public SampleDateAbs {
public:
    SampleDate();
};
