#include "reports/FoodReportData.h"

#include "logbook/LogbookContext.h"
#include "storage/CarbsTable.h"
#include "storage/Preference.h"

#include <algorithm>

FoodReportData FoodReportData::gather(LogbookContext& context) {
    FoodReportData data;
    Database& db = context.database();
    data.title = QStringLiteral("%1's Food Report").arg(context.preference().getPatientName());
    if (auto query = CarbsTable::selectAll(db, CarbsTable::getColumnIndex("carb_name"), false))
        while (auto food = CarbsTable::getNext(db, *query))
            data.foods.push_back({food->getCarbName(),
                                  QString::asprintf("%ld", static_cast<long>(food->getCarbCnt()))});
    return data;
}

FoodReportData::Place FoodReportData::place(int index, int columns, int rows) {
    rows = std::max(1, rows);
    const int perPage = std::max(1, columns) * rows;
    const int onPage = index % perPage;
    return {index / perPage, onPage / rows, onPage % rows};
}

int FoodReportData::pageCount(int count, int columns, int rows) {
    if (count <= 0)
        return 1;
    return place(count - 1, columns, rows).page + 1;
}
