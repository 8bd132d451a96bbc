#pragma once

#include "storage/Database.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A fresh database file in a temporary folder, with a scripted Prompts and a record of
// every statement the connection built.
class DatabaseTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens (or reopens) a database file in the temporary folder.
    std::unique_ptr<Database> openAt(const QString& name);
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }

    // Statements built since the last call.
    std::vector<std::string> takeStatements();
    // Runs a statement and returns each row as its columns joined by "|" (NULL for null).
    std::vector<std::string> rows(const char* sql);

    QTemporaryDir m_dir;
    ScriptedPrompts prompts;
    std::unique_ptr<Database> db;

private:
    std::vector<std::string> m_statements;
};
