#pragma once

#include "sidelogs/SideLogs.h"

#include <QStringList>
#include <vector>

class A1cAbs;
class Database;
class Prompts;

// The A1c results as their list shows them, and their removal.
class A1cLog {
public:
    // Newest first: read by date ascending, each put at the top.
    static std::vector<SideLogRow> rows(Database& db);
    // The date ("March 15, 2007"), its weekday, the count and the narrow unnamed column.
    static QStringList cells(const A1cAbs& result);
    // By the table's removing rule; false (reported when a write failed) when nothing was
    // removed.
    static bool remove(Database& db, Prompts& prompts, int pk);
};
