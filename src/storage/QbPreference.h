#pragma once

#include "storage/RecordFields.h"

// QB_PREFERENCE: the calculator's settings, one row (PK 1).
class QbPreferenceAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_TEXT_FIELD(MedCode, 2)
    QM_INT_FIELD(MedMinutes)
    QM_BOOL_FIELD(UseBol)
public:
    virtual ~QbPreferenceAbs() = default;
};

// A new record leaves the calculator switched off.
class QbPreference : public QbPreferenceAbs {
public:
    QbPreference();
};
