#include "storage/DatabaseFile.h"
#include "OldLayouts.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

namespace {

class DatabaseFileTest : public DatabaseTest {
protected:
    QByteArray bytesOf(const QString& name) {
        QFile file(pathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(pathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
};

TEST_F(DatabaseFileTest, ACopyHoldsTheCommittedLogAndStandsAlone) {
    OldLayouts::createCurrentLayout(*db);
    ASSERT_TRUE(db->exec("insert into NOTE (TEXT) values ('in the log')"));
    ASSERT_GT(QFileInfo(pathOf("patient.db-wal")).size(), 0);
    QString error;
    ASSERT_TRUE(DatabaseFile::copy(pathOf("patient.db"), pathOf("copy.db"), error));
    EXPECT_FALSE(QFileInfo::exists(pathOf("copy.db-wal")));
    db = openAt("copy.db");
    EXPECT_EQ(rows("select TEXT from NOTE"), std::vector<std::string>{"in the log"});
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".part"),
              QStringList());
}

TEST_F(DatabaseFileTest, AFailedCopyLeavesTheTargetAsItWas) {
    write("target.db", "precious");
    write("notes.txt", QByteArray(5000, 'x'));
    const std::pair<QString, QString> cases[] = {
        {pathOf("notes.txt"), pathOf("target.db")},          // no database
        {pathOf("missing.db"), pathOf("target.db")},         // no file
        {pathOf("patient.db"), pathOf("no/such/target.db")}, // no folder
    };
    for (const auto& [source, target] : cases) {
        QString error;
        EXPECT_FALSE(DatabaseFile::copy(source, target, error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(bytesOf("target.db"), "precious");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".part"),
              QStringList());
}

TEST_F(DatabaseFileTest, OnlyASoundLogbookPassesTheCheck) {
    OldLayouts::createCurrentLayout(*db);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(db->exec("insert into NOTE (TEXT) values (%Q)", QString(300, 'n')));
    db.reset();
    QByteArray damaged = bytesOf("patient.db");
    damaged.replace(damaged.size() - 4096, 100, QByteArray(100, '\x7f'));
    write("damaged.db", damaged);
    write("text.db", "Date\tTime\n");
    write("empty.db", "");
    db = openAt("other.db");
    ASSERT_TRUE(db->exec("create table SAMPLE (PK)"));
    db.reset();
    const std::pair<QString, QString> cases[] = {
        {"patient.db", ""},
        {"missing.db", "the file does not exist"},
        {"text.db", "it is not a database file"},
        {"empty.db", "it does not hold a Quillmarch logbook"},
        {"other.db", "it does not hold a Quillmarch logbook"},
        {"damaged.db", "it is damaged"},
    };
    for (const auto& [name, verdict] : cases) {
        QString why;
        EXPECT_EQ(DatabaseFile::checkPatientDatabase(pathOf(name), why), verdict.isEmpty());
        EXPECT_EQ(why.left(verdict.size()), verdict) << name.toStdString();
    }
}

} // namespace
