#pragma once

#include "sidelogs/SideLogs.h"

#include <QStringList>
#include <vector>

class BloodPressureAbs;
class Database;
class Prompts;

// The vital history as its list shows it, and the removal of vital records.
class VitalsLog {
public:
    // Newest first: read by BP_TIME ascending, each put at the top.
    static std::vector<SideLogRow> rows(Database& db);
    // "Mar 15, 2007 08:30 AM", systolic, diastolic, pulse (empty when 0), weight and the text
    // of the record's note on one line.
    static QStringList cells(Database& db, const BloodPressureAbs& record);
    // The record with its note, by the table's removing rule; false (reported when a write
    // failed) when nothing was removed.
    static bool remove(Database& db, Prompts& prompts, int pk);
};
