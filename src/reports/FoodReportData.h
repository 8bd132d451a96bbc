#pragma once

#include <QString>
#include <vector>

class LogbookContext;

// The patient's food list as the food report prints it, and where each food goes on the pages.
struct FoodReportData {
    struct Food {
        QString name;
        QString count; // "%ld"
    };
    // A food's place: the page from 0, the column from the left and the row from the top.
    struct Place {
        int page = 0;
        int column = 0;
        int row = 0;
        bool operator==(const Place&) const = default;
    };

    QString title;           // "%s's Food Report"
    std::vector<Food> foods; // the foods not deleted, by name descending

    static FoodReportData gather(LogbookContext& context);

    // The columns fill top to bottom, left to right, `rows` rows each, `columns` a page.
    static Place place(int index, int columns, int rows);
    // The pages `count` foods take; an empty list still prints one.
    static int pageCount(int count, int columns, int rows);
};
