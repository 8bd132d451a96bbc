#pragma once

#include "settings/PatientSettingsContext.h"
#include "support/TestLogbookContext.h"

#include <QStringList>
#include <map>

// The settings pages' context over a test database. The patient's settings are a map, and
// renames are recorded instead of moving anything.
class TestSettingsContext : public BasicTestLogbookContext<PatientSettingsContext> {
public:
    using BasicTestLogbookContext::BasicTestLogbookContext;

    QString patientValue(const QString& valueName) override { return values[valueName]; }
    bool otherPatientNamed(const QString& name) override { return otherPatients.contains(name); }
    bool renamePatient(const QString& newName) override {
        renames.push_back(newName);
        return renameSucceeds;
    }

    std::map<QString, QString> values;
    QStringList otherPatients;
    QStringList renames;
    bool renameSucceeds = true;
};
