#pragma once

#include "storage/Text.h"

#include <QString>

// Members and virtual accessors of the abstract records. Each macro declares one column:
// a getter and a setter (in that order, so the accessors follow the column order) and the
// member they guard. Text setters keep at most the column's width in characters.

#define QM_INT_FIELD(Name)                                                                         \
public:                                                                                            \
    virtual int get##Name() const {                                                                \
        return m_##Name;                                                                           \
    }                                                                                              \
    virtual void set##Name(int value) {                                                            \
        m_##Name = value;                                                                          \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    int m_##Name = 0;

#define QM_TEXT_FIELD(Name, Chars)                                                                 \
public:                                                                                            \
    static constexpr int k##Name##Width = Chars;                                                   \
    virtual const QString& get##Name() const {                                                     \
        return m_##Name;                                                                           \
    }                                                                                              \
    virtual void set##Name(const QString& value) {                                                 \
        m_##Name = cutToChars(value, Chars);                                                       \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    QString m_##Name;

#define QM_BOOL_FIELD(Name)                                                                        \
public:                                                                                            \
    virtual bool get##Name() const {                                                               \
        return m_##Name;                                                                           \
    }                                                                                              \
    virtual void set##Name(bool value) {                                                           \
        m_##Name = value;                                                                          \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    bool m_##Name = false;

// PK, FK and SYNC_STATE, the first three columns of nearly every table.
#define QM_KEY_FIELDS                                                                              \
    QM_INT_FIELD(Pk)                                                                               \
    QM_INT_FIELD(Fk)                                                                               \
    QM_INT_FIELD(SyncState)
