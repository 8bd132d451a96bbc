#pragma once

#include "sidelogs/SideLogs.h"

#include <QStringList>
#include <vector>

class CarbsAbs;
class Database;
class Prompts;

// The food list as its dialog shows it, and the removal of foods.
class FoodLog {
public:
    // In ascending order of the names: read by name descending, each put at the top.
    static std::vector<SideLogRow> rows(Database& db);
    // The name and serving size, the grams of carbohydrate and the narrow unnamed column.
    static QStringList cells(const CarbsAbs& food);
    // By the table's removing rule; false (reported when a write failed) when nothing was
    // removed.
    static bool remove(Database& db, Prompts& prompts, int pk);
};
