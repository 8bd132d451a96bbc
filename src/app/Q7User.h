#pragma once

#include "storage/Preference.h"
#include "storage/Text.h"

#include <QString>

// The current patient: only the name, which keys the patient's settings, database file name
// and window title.
class Q7User {
public:
    // The one limit of a patient name: PREFERENCE.PATIENT_NAME's width, which every dialog
    // taking a name keeps to.
    static constexpr int kMaxNameChars = Preference::kPatientNameWidth;

    explicit Q7User(const QString& name) : m_name(cutToChars(name, kMaxNameChars)) {}

    const QString& name() const { return m_name; }

private:
    QString m_name;
};
