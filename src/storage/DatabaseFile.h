#pragma once

#include <QString>

struct sqlite3;

// Whole-file operations on a patient's database file. A copy is made with the engine's online
// backup, so it holds every committed change, also those still waiting in the write-ahead
// log (a plain copy of the main file would miss them). The copy is written beside its target,
// flushed to disk and renamed over the target only when complete: a failure or a crash part
// way leaves an existing target exactly as it was.
namespace DatabaseFile {

// Copies the database file at `sourcePath` (opened read-only) to `targetPath`. False, with
// the reason in `error`, when the source is no database or the target cannot be written.
bool copy(const QString& sourcePath, const QString& targetPath, QString& error);

// The same from an open connection (its committed state).
bool copyFrom(sqlite3* source, const QString& targetPath, QString& error);

// Whether the file is a usable patient database: it opens read-only, passes the engine's
// integrity check and holds the logbook tables. False, with the reason in `why` (a sentence
// without the file's name, for example "it is not a database file"), otherwise.
bool checkPatientDatabase(const QString& path, QString& why);

// Whether a database of the engine is at `path` (its file begins with the engine's header).
// Writers of reports and exports refuse to replace one: it may be a patient's logbook.
bool isDatabaseFile(const QString& path);

// Writes the file's data to the disk before the caller relies on it.
bool flushFile(const QString& path);

// Gives the file at `fromPath` the name `targetPath` in one step, replacing a file of that
// name (both in the same folder), and writes the change of name to the disk. False, with the
// reason in `error`, when the file could not be renamed; both files are then as they were.
bool moveOver(const QString& fromPath, const QString& targetPath, QString& error);

} // namespace DatabaseFile
