#include "storage/Database.h"
#include "storage/Indexes.h"
#include "storage/SampleTable.h"
#include "support/TestDatabase.h"

#include <QFile>

class DatabaseConnection : public DatabaseTest {};

TEST_F(DatabaseConnection, TableExistsAnswersWithoutMessages) {
    EXPECT_FALSE(db->tableExists("SAMPLE"));
    ASSERT_TRUE(db->exec("create table SAMPLE ( PK INTEGER PRIMARY KEY )"));
    EXPECT_TRUE(db->tableExists("SAMPLE"));
    EXPECT_FALSE(db->tableExists("sample'; drop table SAMPLE; --"));
    EXPECT_TRUE(db->tableExists("SAMPLE"));
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(DatabaseConnection, QuotedTextRoundTripsThroughFormatter) {
    ASSERT_TRUE(db->exec("create table T ( A VARCHAR(40), B INTEGER )"));
    ASSERT_TRUE(db->exec("insert into T values ( %Q, %ld )", QString("O'Brien's \"note\""), 7L));
    takeStatements();
    ASSERT_TRUE(db->exec("insert into T values ( %Q, %d )", QString("it''s"), 8));
    EXPECT_EQ(takeStatements(), std::vector<std::string>{"insert into T values ( 'it''''s', 8 )"});
    EXPECT_EQ(rows("select A, B from T order by B"),
              (std::vector<std::string>{"O'Brien's \"note\"|7", "it''s|8"}));
}

TEST_F(DatabaseConnection, NullTextBecomesSqlNull) {
    ASSERT_TRUE(db->exec("create table T ( A VARCHAR(4) )"));
    ASSERT_TRUE(db->exec("insert into T values ( %Q )", QString()));
    EXPECT_EQ(rows("select A is null from T"), std::vector<std::string>{"1"});
}

TEST_F(DatabaseConnection, ArgumentsThatDoNotFitTheFormatAreRefused) {
    ASSERT_TRUE(db->exec("create table T ( A INTEGER )"));
    EXPECT_FALSE(db->exec("insert into T values ( %ld )"));
    EXPECT_FALSE(db->exec("insert into T values ( %ld )", 1L, 2L));
    EXPECT_FALSE(db->exec("insert into T values ( %ld )", QString("1")));
    EXPECT_FALSE(db->exec("insert into T values ( %Q )", 1L));
    EXPECT_EQ(rows("select count(*) from T"), std::vector<std::string>{"0"});
    EXPECT_EQ(prompts.count(), 0);
}

TEST_F(DatabaseConnection, ExecFailureKeepsErrorButShowsNothing) {
    EXPECT_FALSE(db->exec("selec nonsense"));
    EXPECT_NE(db->lastError(), 0);
    EXPECT_TRUE(db->errorText().contains("syntax error"));
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_TRUE(db->exec("create table T ( A INTEGER )"));
    EXPECT_EQ(db->lastError(), 0);
}

TEST_F(DatabaseConnection, CompileFailureShowsOneDatabaseBoxAndNoQuery) {
    prompts.expect("Database", "no such table: MISSING");
    EXPECT_EQ(db->query("select * from MISSING"), nullptr);
    EXPECT_EQ(prompts.count(), 1);
    prompts.expect("Database");
    EXPECT_EQ(db->count("select count(*) from MISSING"), -1);
}

TEST_F(DatabaseConnection, ErrorTextIsCutTo99Characters) {
    db->setErrorText(QString(150, 'e'));
    EXPECT_EQ(db->errorText().size(), 99);
    // A table name long enough that the engine's message exceeds 99 characters.
    QString name(120, 'x');
    prompts.expect("Database");
    EXPECT_EQ(db->query(("select * from " + name).toUtf8().constData()), nullptr);
    EXPECT_EQ(db->errorText().size(), 99);
    EXPECT_TRUE(db->errorText().startsWith("no such table: xxx"));
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

TEST_F(DatabaseConnection, OpenOnOpenDatabaseKeepsTheConnection) {
    sqlite3* before = db->handle();
    EXPECT_TRUE(db->open(pathOf("other.db")));
    EXPECT_EQ(db->handle(), before);
    EXPECT_EQ(db->path(), pathOf("patient.db"));
    EXPECT_FALSE(QFile::exists(pathOf("other.db")));
}

TEST_F(DatabaseConnection, CloseTwiceAndReopen) {
    db->close();
    EXPECT_FALSE(db->isOpen());
    db->close();
    EXPECT_TRUE(db->open(pathOf("patient.db")));
    EXPECT_TRUE(db->isOpen());
}

TEST_F(DatabaseConnection, OpenFileReportsFailureThroughLastOpenError) {
    // A file that is not a database must be refused before anything is written to it.
    QFile junk(pathOf("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    QByteArray garbage(4096, 'z');
    junk.write(garbage);
    junk.close();

    prompts.expect("Database", "file is not a database");
    auto opened = Database::openFile(pathOf("junk.db"), prompts);
    EXPECT_EQ(opened, nullptr);
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

TEST_F(DatabaseConnection, LastInsertRowId) {
    ASSERT_TRUE(db->exec("create table T ( PK INTEGER PRIMARY KEY, A INTEGER )"));
    ASSERT_TRUE(db->exec("insert into T ( PK, A ) values ( 41, 1 )"));
    ASSERT_TRUE(db->exec("insert into T ( A ) values ( 2 )"));
    EXPECT_EQ(db->lastInsertRowId(), 42);
}

TEST_F(DatabaseConnection, IndexesAreCreatedOnceAndOnlyForExistingTables) {
    EXPECT_TRUE(ensureIndexes(*db));
    EXPECT_EQ(rows("select count(*) from sqlite_master where type='index'"),
              std::vector<std::string>{"0"});
    ASSERT_TRUE(SampleTable::createTable(*db));
    EXPECT_TRUE(ensureIndexes(*db));
    EXPECT_TRUE(ensureIndexes(*db));
    EXPECT_EQ(rows("select count(*) from sqlite_master where type='index'"),
              std::vector<std::string>{"4"});
    // The day read is served by the index, not by a scan of every entry.
    auto plan = rows("explain query plan Select * from SAMPLE where sync_state <> 30 and "
                     "Sample_Date_Pk=5 order by sample_time asc");
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan.back().find("SAMPLE_BY_DAY"), std::string::npos) << plan.back();
}

TEST_F(DatabaseConnection, CommittedRowsSurviveReopen) {
    ASSERT_TRUE(db->exec("create table T ( A INTEGER )"));
    ASSERT_TRUE(db->exec("insert into T values ( 5 )"));
    db.reset();
    db = openAt("patient.db");
    EXPECT_EQ(rows("select A from T"), std::vector<std::string>{"5"});
}
