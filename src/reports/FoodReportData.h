#pragma once

#include <QString>
#include <vector>

class LogbookContext;

// The patient's food list as the food report prints it.
struct FoodReportData {
    struct Food {
        QString name;
        QString count; // "%ld"
    };
    QString title;           // "%s's Food Report"
    std::vector<Food> foods; // the foods not deleted, by name descending

    static FoodReportData gather(LogbookContext& context);
};
