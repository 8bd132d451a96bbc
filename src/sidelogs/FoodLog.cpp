#include "sidelogs/FoodLog.h"

#include "storage/CarbsTable.h"

namespace {

constexpr int kNameColumn = 4; // carb_name

} // namespace

std::vector<SideLogRow> FoodLog::rows(Database& db) {
    return rowsPutOnTop<CarbsTable>(db, kNameColumn, false, &FoodLog::cells);
}

QStringList FoodLog::cells(const CarbsAbs& food) {
    return {food.getCarbName(), QString::asprintf("%d", food.getCarbCnt()), QString()};
}

bool FoodLog::remove(Database& db, Prompts& prompts, int pk) {
    auto food = CarbsTable::getByPk(db, pk);
    return food && reportWrite(db, prompts, CarbsTable::remove(db, *food));
}
