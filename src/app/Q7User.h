#pragma once

#include "storage/Text.h"

#include <QString>

// The current patient: only the name, which keys the patient's settings, database file name
// and window title.
class Q7User {
public:
    // The limit of the new-patient dialog and of PREFERENCE.PATIENT_NAME.
    static constexpr int kMaxNameChars = 35;

    explicit Q7User(const QString& name) : m_name(cutToChars(name, kMaxNameChars)) {}

    const QString& name() const { return m_name; }

private:
    QString m_name;
};
