#pragma once

#include <cstddef>
#include <vector>

class Database;

// One row of the logbook list: a day ('D') or an entry ('S') and its PK. The list keeps
// nothing else; each record is read by PK when its row is drawn.
struct LogRow {
    char tag;
    int pk;
    bool operator==(const LogRow&) const = default;
};

// The log type filter: a slot's PK (1 or more), the daily summary, or all types.
namespace LogFilter {
constexpr int DailySummary = 0;
constexpr int AllTypes = -1;
} // namespace LogFilter

// The rows of the list for a filter: one slot's entries newest first across all days; or
// every day newest first, followed under "All Types" by its entries latest first. A limit
// above 0 gives only the first `limit` rows of that list (the first screen of it).
std::vector<LogRow> buildLogRows(Database& db, int filter, std::size_t limit = 0);
