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

// The check's refusals of files of the wrong kind are seen through the restore command.
TEST_F(DatabaseFileTest, ACopyHoldsTheCommittedLogAndAFailedOneLeavesTheTargetAsItWas) {
    OldLayouts::createCurrentLayout(*db);
    ASSERT_TRUE(db->exec("insert into NOTE (TEXT) values ('in the log')"));
    write("target.db", "precious");
    write("notes.txt", QByteArray(5000, 'x'));
    QString error;
    for (const char* source : {"notes.txt", "missing.db"})
        EXPECT_FALSE(DatabaseFile::copy(pathOf(source), pathOf("target.db"), error));
    EXPECT_FALSE(DatabaseFile::copy(pathOf("patient.db"), pathOf("no/target.db"), error));
    EXPECT_EQ(bytesOf("target.db"), "precious");
    EXPECT_FALSE(DatabaseFile::checkPatientDatabase(pathOf("missing.db"), error));
    EXPECT_EQ(error, "the file does not exist");
    ASSERT_TRUE(DatabaseFile::copy(pathOf("patient.db"), pathOf("target.db"), error));
    EXPECT_TRUE(DatabaseFile::checkPatientDatabase(pathOf("target.db"), error));
    EXPECT_EQ(QDir(m_dir.path()).entryList({"*.part*", "target.db-*"}, QDir::Files | QDir::Hidden),
              QStringList());
    db = openAt("target.db");
    EXPECT_EQ(rows("select TEXT from NOTE"), std::vector<std::string>{"in the log"});
}

TEST_F(DatabaseFileTest, ReadingAClosedFileLeavesNothingBesideIt) {
    OldLayouts::createCurrentLayout(*db);
    db.reset();
    const QByteArray before = bytesOf("patient.db");
    QString error;
    ASSERT_TRUE(DatabaseFile::copy(pathOf("patient.db"), pathOf("copy.db"), error))
        << error.toStdString();
    EXPECT_TRUE(DatabaseFile::checkPatientDatabase(pathOf("patient.db"), error))
        << error.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList({"patient.db*"}, QDir::Files | QDir::Hidden),
              QStringList{"patient.db"});
    EXPECT_EQ(bytesOf("patient.db"), before);
}

} // namespace
