#pragma once

class Database;

// Creates the secondary indexes the logbook's frequent reads rely on, for every table that
// exists; already present indexes are left alone. Safe to run on every open and after a
// conversion has re-created tables (dropping a table drops its indexes).
bool ensureIndexes(Database& db);
