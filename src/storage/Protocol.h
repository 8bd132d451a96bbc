#pragma once

#include "storage/RecordFields.h"

// PROTOCOL: a treatment protocol text and the day it takes effect.
class ProtocolAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_INT_FIELD(ProtocolType)
    QM_TEXT_FIELD(EffectiveDate, 8)
    QM_TEXT_FIELD(Text, 256)
public:
    virtual ~ProtocolAbs() = default;
};

class Protocol : public ProtocolAbs {
public:
    Protocol();
};
