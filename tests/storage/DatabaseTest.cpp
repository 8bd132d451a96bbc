#include "storage/Database.h"
#include "storage/Indexes.h"
#include "storage/SampleTable.h"
#include "support/TestDatabase.h"

#include <QFile>

using Rows = std::vector<std::string>;

class DatabaseConnection : public DatabaseTest {};

TEST_F(DatabaseConnection, TextsGoThroughTheFormatterAndMismatchedArgumentsAreRefused) {
    EXPECT_FALSE(db->tableExists("T"));
    ASSERT_TRUE(db->exec("create table T ( A VARCHAR(40), B INTEGER )"));
    EXPECT_TRUE(db->tableExists("T"));
    EXPECT_FALSE(db->tableExists("T'; drop table T; --"));
    ASSERT_TRUE(db->exec("insert into T values ( %Q, %d )", QString("it''s"), 8));
    ASSERT_TRUE(db->exec("insert into T values ( %Q, 9 )", QString())); // a null text is NULL
    EXPECT_EQ(rows("select A, B from T order by B"), (Rows{"it''s|8", "NULL|9"}));
    for (bool refused : {db->exec("insert into T values ( %ld, 1 )"),
                         db->exec("insert into T values ( %ld, 1 )", 1L, 2L),
                         db->exec("insert into T values ( %ld, 1 )", QString("1")),
                         db->exec("insert into T values ( %Q, 1 )", 1L)})
        EXPECT_FALSE(refused);
    EXPECT_EQ(rows("select count(*) from T"), Rows{"2"});
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(DatabaseConnection, FailuresAreShownOnlyWhenAStatementDoesNotCompile) {
    EXPECT_FALSE(db->exec("selec nonsense"));
    EXPECT_TRUE(db->errorText().contains("syntax error"));
    EXPECT_NE(db->lastError(), 0);
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_TRUE(db->exec("create table T ( A INTEGER )"));
    EXPECT_EQ(db->lastError(), 0);

    prompts.expect("Database", "no such table: MISSING");
    EXPECT_EQ(db->query("select * from MISSING"), nullptr);
    prompts.expect("Database");
    EXPECT_EQ(db->count("select count(*) from MISSING"), -1);
    // An engine message is kept to 99 characters.
    prompts.expect("Database");
    EXPECT_EQ(db->query(("select * from " + std::string(120, 'x')).c_str()), nullptr);
    EXPECT_EQ(db->errorText(), "no such table: " + QString(84, 'x'));
    // Characters, not bytes: a two-byte letter counts once.
    db->setErrorText(QString(120, QChar(0x00e9)));
    EXPECT_EQ(db->errorText(), QString(99, QChar(0x00e9)));
}

TEST_F(DatabaseConnection, PathIsCutTo143Characters) {
    ScriptedPrompts local;
    local.allowAny(); // a cut path may name a folder that does not exist
    QString longPath = pathOf(QString(200, 'p') + ".db");
    Database cut(longPath, local);
    EXPECT_EQ(cut.path(), longPath.left(143));
}

TEST_F(DatabaseConnection, OpenKeepsAnOpenConnectionAndCloseIsHarmlessTwice) {
    sqlite3* before = db->handle();
    EXPECT_TRUE(db->open(pathOf("other.db")));
    EXPECT_EQ(db->handle(), before);
    EXPECT_FALSE(QFile::exists(pathOf("other.db")));
    db->close();
    db->close();
    EXPECT_FALSE(db->isOpen());
}

TEST_F(DatabaseConnection, OpenFileReportsFailureThroughLastOpenError) {
    // A file that is not a database must be refused before anything is written to it.
    QFile junk(pathOf("junk.db"));
    const QByteArray garbage(4096, 'z');
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write(garbage) == garbage.size());
    junk.close();

    prompts.expect("Database", "file is not a database");
    EXPECT_EQ(Database::openFile(pathOf("junk.db"), prompts), nullptr);
    EXPECT_EQ(Database::lastOpenError(), "file is not a database");
    ASSERT_TRUE(junk.open(QIODevice::ReadOnly));
    EXPECT_EQ(junk.readAll(), garbage);

    prompts.expect("Database");
    EXPECT_EQ(Database::openFile(pathOf("no/such/folder/x.db"), prompts), nullptr);
    EXPECT_FALSE(Database::lastOpenError().isEmpty());

    auto good = Database::openFile(pathOf("fresh.db"), prompts);
    ASSERT_NE(good, nullptr);
    EXPECT_TRUE(good->isOpen());
}

TEST_F(DatabaseConnection, QueryValuesAndFinalize) {
    ASSERT_TRUE(db->exec("create table T ( A VARCHAR(4), B INTEGER )"));
    ASSERT_TRUE(db->exec("insert into T values ( NULL, 12 )"));
    ASSERT_TRUE(db->exec("insert into T values ( 'x', NULL )"));
    auto q = db->query("select A, B from T order by rowid");
    ASSERT_NE(q, nullptr);
    ASSERT_TRUE(q->step());
    EXPECT_EQ(q->columnCount(), 2);
    EXPECT_STREQ(q->columnName(0), "A");
    EXPECT_EQ(q->value(0), nullptr);
    EXPECT_EQ(q->intValue(1), 12);
    ASSERT_TRUE(q->step());
    EXPECT_STREQ(q->value(0), "x");
    EXPECT_EQ(q->intValue(0), 0); // unparsable reads as 0
    EXPECT_EQ(q->intValue(1), 0); // null reads as 0
    EXPECT_FALSE(q->step());
    q->finalize();
    EXPECT_EQ(db->lastError(), 0);
    q->finalize();
    EXPECT_FALSE(q->step());
}

TEST_F(DatabaseConnection, IndexesAreCreatedOnceAndOnlyForExistingTables) {
    EXPECT_TRUE(ensureIndexes(*db));
    EXPECT_EQ(rows("select count(*) from sqlite_master where type='index'"), Rows{"0"});
    ASSERT_TRUE(SampleTable::createTable(*db));
    EXPECT_TRUE(ensureIndexes(*db) && ensureIndexes(*db));
    EXPECT_EQ(rows("select count(*) from sqlite_master where type='index'"), Rows{"4"});
    // The day read is served by the index, not by a scan of every entry.
    EXPECT_NE(rows("explain query plan Select * from SAMPLE where sync_state <> 30 and "
                   "Sample_Date_Pk=5 order by sample_time asc")
                  .back()
                  .find("USING INDEX SAMPLE_BY_DAY"),
              std::string::npos);
}
