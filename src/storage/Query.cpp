#include "storage/Query.h"

#include "storage/Database.h"

#include <cstdlib>
#include <sqlite3.h>

Query::Query(Database& database, sqlite3_stmt* statement)
    : m_database(database), m_statement(statement) {}

Query::~Query() {
    finalize();
}

bool Query::step() {
    if (!m_statement)
        return false;
    if (sqlite3_step(m_statement) != SQLITE_ROW) {
        m_columnCount = 0;
        return false;
    }
    m_columnCount = sqlite3_data_count(m_statement);
    return true;
}

void Query::finalize() {
    if (!m_statement)
        return;
    int code = sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_columnCount = 0;
    m_database.setLastError(code);
    if (code != SQLITE_OK && m_database.handle())
        m_database.setErrorText(QString::fromUtf8(sqlite3_errmsg(m_database.handle())));
}

const char* Query::value(int column) const {
    if (!m_statement || column < 0 || column >= m_columnCount)
        return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
}

const char* Query::columnName(int column) const {
    if (!m_statement || column < 0 || column >= m_columnCount)
        return nullptr;
    return sqlite3_column_name(m_statement, column);
}

long Query::intValue(int column) const {
    const char* text = value(column);
    return text ? std::strtol(text, nullptr, 10) : 0;
}
