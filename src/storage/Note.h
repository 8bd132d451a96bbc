#pragma once

#include "storage/RecordFields.h"

// What a note belongs to.
namespace NoteType {
constexpr int LogEntry = 0;
constexpr int Day = 1;
constexpr int Vital = 2;
} // namespace NoteType

// NOTE: a free text owned by an entry, a day or a vital record.
class NoteAbs {
public:
    virtual void clear();
    QM_KEY_FIELDS
    QM_INT_FIELD(NoteType)
    QM_INT_FIELD(OwnerPk)
    QM_TEXT_FIELD(Text, 256)
public:
    virtual ~NoteAbs() = default;
};

class Note : public NoteAbs {
public:
    Note();
};
