#pragma once

#include <QString>

class SettingsTree;

// What starting the program with a file does: a known patient's own file opens that patient;
// another sound patient database is offered for import into the patient chosen as usual;
// anything else is refused with the reason, and the program starts as usual.
struct DatabaseFileOpening {
    enum class Kind { OpenPatient, OfferImport, Refuse };
    Kind kind = Kind::Refuse;
    // The patient whose file it is (OpenPatient).
    QString patient;
    // Why it cannot be used (Refuse), a sentence without the file's name.
    QString why;
};

DatabaseFileOpening decideFileOpening(const SettingsTree& settings, const QString& path);
