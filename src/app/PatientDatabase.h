#pragma once

#include <QString>
#include <memory>

class Database;
class Progress;
class Prompts;

// Opens a patient's database file for use: creates every missing table of the logbook,
// preference and quick-bolus settings (empty), brings an older file up to the current
// layout and makes sure the secondary indexes exist. Nothing when the file cannot be
// opened or cannot be converted; `failure` then tells why, for the caller to show.
std::unique_ptr<Database> openPatientDatabase(const QString& path, Prompts& prompts,
                                              Progress& progress, QString& failure);

// Opens a patient's file only to read it: nothing is created, converted or written, not even
// the journal mode. A file that lacks a table or is in an older layout would need exactly
// those writes first, so it is refused with `failure` telling why.
std::unique_ptr<Database> openPatientDatabaseReadOnly(const QString& path, Prompts& prompts,
                                                      QString& failure);

// Why a patient's file that failed to convert is not opened, naming the file.
QString conversionFailedText(const QString& path);
// Why a patient's file opened only for reading is refused: it would need converting.
QString notCurrentText(const QString& path);

// The table creation step of the opening, on its own: every missing table is tried; false
// when any could not be created (each failure has shown its message).
bool createMissingTables(Database& db);
