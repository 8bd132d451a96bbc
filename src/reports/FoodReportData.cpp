#include "reports/FoodReportData.h"

#include "logbook/LogbookContext.h"
#include "storage/CarbsTable.h"
#include "storage/Preference.h"

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
