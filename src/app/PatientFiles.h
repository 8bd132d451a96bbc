#pragma once

#include <QString>
#include <optional>

class Prompts;

// Where a patient's database file lives and what it is called.
namespace PatientFiles {

inline constexpr const char* kReuseCaption = "Reuse existing database?";
inline constexpr const char* kReuseFound = "We found an existing database for this user.";
inline constexpr const char* kReuseQuestion =
    "Would you like to use it? \nIf not we will search for others or create a new one.";
inline constexpr const char* kNoFolder = "createDbName Failed(): Unable to retreive APPPATH";
inline constexpr const char* kEmptyFolder = "createDbName Failed(): No DbPath in registry";
// The file name of a patient whose name holds no letter or usable digit.
inline constexpr const char* kEmptyNameStem = "Patient";

// The per-user application-data folder that holds the database files.
QString dataFolder();

// The patient name reduced to a file name: the letters A-Z and a-z, and the digits 0-9
// except in the first position of the name; everything else is dropped. When nothing is
// left, kEmptyNameStem.
QString makeFileName(const QString& patientName);

// The database file candidate: "<folder>/<name>.db" for a number below 2, else
// "<folder>/<name><number>.db".
QString candidatePath(const QString& folder, const QString& fileName, int number);

// The text of the reuse question for a patient and an existing file.
QString reuseQuestionText(const QString& patientName, const QString& path);

// Chooses the database file of a patient in `folder` (created when missing): the first
// candidate that does not exist yet, unless the patient agrees to reuse an existing one.
// Answers whether the file is reused, with its path in `path`; nothing when the folder is
// unusable (the reason has been shown).
std::optional<bool> createDbName(const QString& folder, const QString& patientName,
                                 Prompts& prompts, QString& path);

} // namespace PatientFiles
