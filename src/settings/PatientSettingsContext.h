#pragma once

#include "logbook/LogbookContext.h"

#include <QString>

// What the patient's settings pages need beyond the logbook: the patient's own values in the
// settings tree and the renaming of the patient, whose name keys those values.
class PatientSettingsContext : public LogbookContext {
public:
    // A value of the current patient's settings ("PatientNotes"); empty when there is none.
    virtual QString patientValue(const QString& valueName) = 0;
    // Whether a patient other than the current one goes by this name.
    virtual bool otherPatientNamed(const QString& name) = 0;
    // Moves the current patient's settings to the new name, which becomes the current
    // patient's name. False when the settings could not be moved (they stay where they were).
    virtual bool renamePatient(const QString& newName) = 0;
};
