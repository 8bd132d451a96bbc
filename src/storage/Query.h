#pragma once

struct sqlite3_stmt;
class Database;

// One compiled statement and its current row. Values come back as text (null for SQL
// NULL) and stay valid until the next step or finalize. Disposing of a Query finalizes it.
class Query {
public:
    Query(Database& database, sqlite3_stmt* statement);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // True exactly when the engine answers with a row.
    bool step();
    // Records the engine's verdict in the database's lastError / errorText; harmless twice.
    void finalize();

    int columnCount() const { return m_columnCount; }
    // The current row's value of a column as text, or nullptr for NULL.
    const char* value(int column) const;
    const char* columnName(int column) const;
    // Decimal text-to-integer conversion of a value; unparsable or null reads as 0.
    long intValue(int column) const;

    sqlite3_stmt* statement() const { return m_statement; }

private:
    Database& m_database;
    sqlite3_stmt* m_statement;
    int m_columnCount = 0;
};
