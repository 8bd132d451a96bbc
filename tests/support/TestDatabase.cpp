#include "support/TestDatabase.h"

#include <sqlite3.h>

void DatabaseTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    db = openAt(QStringLiteral("patient.db"));
    ASSERT_TRUE(db && db->isOpen());
}

void DatabaseTest::TearDown() {
    db.reset();
    prompts.verify();
}

std::unique_ptr<Database> DatabaseTest::openAt(const QString& name) {
    auto opened = std::make_unique<Database>(pathOf(name), prompts);
    opened->setStatementObserver([this](const std::string& s) { m_statements.push_back(s); });
    return opened;
}

std::vector<std::string> DatabaseTest::takeStatements() {
    std::vector<std::string> taken;
    taken.swap(m_statements);
    return taken;
}

std::vector<std::string> DatabaseTest::rows(const char* sql) {
    std::vector<std::string> out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db->handle(), sql, -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot compile " << sql << ": " << sqlite3_errmsg(db->handle());
        return out;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            if (i)
                row += '|';
            const unsigned char* text = sqlite3_column_text(stmt, i);
            row += text ? reinterpret_cast<const char*>(text) : "NULL";
        }
        out.push_back(row);
    }
    sqlite3_finalize(stmt);
    return out;
}
