#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <vector>

// What a list shows, row by row and column by column.
inline std::vector<QStringList> listedTexts(const QTreeWidget& list) {
    std::vector<QStringList> texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list.columnCount(); ++c)
            row << list.topLevelItem(i)->text(c);
        texts.push_back(row);
    }
    return texts;
}
