#include "exchange/DatabaseImport.h"
#include "ExchangeTest.h"
#include "storage/CgmReadingTable.h"
#include "support/GoldenFile.h"
#include "support/TestLogbookContext.h"

#include <QDir>

// Ann's logbook (import_current.sql) and Bea's file (import_source.sql): see their comments.
class DatabaseImportTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        ASSERT_TRUE(db->exec(bytesOf(testData("exchange/import_current.sql")).constData()));
        context.emplace(*db, prompts, clock.now());
        source = makeFile(pathOf("bea.db"), "exchange/import_source.sql", prompts, &clock);
    }
    ImportResult import(const QString& path) {
        return DatabaseImport(*context, progress).import(path);
    }

    std::optional<TestLogbookContext> context;
    QString source;
};

TEST_F(DatabaseImportTest, CopiesEntriesDaysNotesVitalsA1csAndFoodsFromACopyOfTheFile) {
    const QByteArray sourceBytes = bytesOf(source);
    const ImportResult result = import(source);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    const QString counts("read %1, stored %2, days summarized %3");
    expectGoldenFile(dump() + progress.topics + progress.items +
                         QStringList{counts.arg(result.recordsRead)
                                         .arg(result.recordsApplied)
                                         .arg(result.daysSummarized)},
                     "exchange/import_source_expected.txt");
    EXPECT_EQ(bytesOf(source), sourceBytes);
}

// An older file is converted on the copy only; without foods of its own, Ann keeps hers.
TEST_F(DatabaseImportTest, ConvertsAnOlderFileOnTheCopyAndLeavesTheFileAsItWas) {
    const QByteArray before = bytesOf(makeFile(pathOf("version3.db"), "version3.sql", prompts));
    ASSERT_TRUE(import(pathOf("version3.db")).ok);
    EXPECT_EQ(bytesOf(pathOf("version3.db")), before);
    expectGoldenFile(dump() + progress.topics, "exchange/import_version3_expected.txt");
}

// Whatever fails part way (exchange/import_failures.txt), the file is as before, the food
// list too, though it was dropped for the new one.
TEST_F(DatabaseImportTest, AFailurePartWayLeavesTheLogbookExactlyAsItWas) {
    int cases = 0;
    for (const QString& line : QString(bytesOf(testData("exchange/import_failures.txt")))
                                   .split('\n', Qt::SkipEmptyParts)) {
        const QByteArray trigger = line.section('|', 1).toUtf8();
        if (line.startsWith('#'))
            continue;
        ASSERT_TRUE(db->exec(trigger.constData()) && ++cases);
        const QStringList before = dump();
        progress = RecordingProgress();
        DatabaseImport importer(*context, progress);
        importer.setFoodsTableCreatedHook([&] { db->exec(trigger.constData()); });
        prompts.expect("Database",
                       QString(DatabaseImport::kStoreFailed).arg(source, "refused by the test"));
        EXPECT_FALSE(importer.import(source).ok);
        prompts.verify();
        EXPECT_EQ(progress.topics.last() + "|" + QString::number(progress.finished),
                  line.section('|', 0, 0) + "|1");
        EXPECT_TRUE(dump() == before) << line.toStdString();
        db->exec("drop trigger t");
    }
    EXPECT_EQ(cases, 5);
}

// Each file of exchange/refused, a missing one and one that cannot be converted is told;
// nothing is stored and the file stays as it was.
TEST_F(DatabaseImportTest, RefusesWhatIsNoPatientDatabaseAndStoresNothing) {
    const QStringList before = dump();
    makeFile(pathOf("nopref.db"), "convert_no_preference_row.sql", prompts, &clock);
    const QDir refused(testData("exchange/refused"));
    const QStringList names = refused.entryList(QDir::Files) << "gone.db"
                                                             << "nopref.db";
    QStringList told;
    prompts.allowAny();
    for (const QString& name : names) {
        QFile::copy(refused.filePath(name), pathOf(name));
        const QByteArray kept = bytesOf(pathOf(name));
        prompts.clear();
        const ImportResult result = import(pathOf(name));
        const auto last = prompts.count() ? prompts.shown().back() : ScriptedPrompts::Shown{};
        told << QStringList{name,
                            QString::number(result.ok),
                            QString::number(prompts.count()),
                            last.caption,
                            last.text,
                            result.error.contains(pathOf(name)) ? "" : "error without the file",
                            bytesOf(pathOf(name)) == kept ? "" : "file changed"}
                    .join('|')
                    .replace(pathOf(name), "<file>")
                    .replace('\n', "\\n");
    }
    expectGoldenFile(told, "exchange/import_refused_expected.txt");
    EXPECT_TRUE(dump() == before && progress.topics.isEmpty());
}

// Bea's sensor readings come along, each source and moment once; a failure later in the import
// takes them back out with everything else.
TEST_F(DatabaseImportTest, CopiesSensorReadingsOncePerSourceAndMomentInsideTheUnitOfWork) {
    {
        Database bea(source, prompts);
        ASSERT_TRUE(CgmReadingTable::insertNew(bea, {{"20070301080000", 120, 0, "clarity"},
                                                     {"20070301080500", 400, 1, "clarity"},
                                                     {"20070301080000", 118, 0, "libreview"}}));
        ASSERT_TRUE(bea.exec("update CGM_READING set SYNC_STATE = 30 where GLUCOSE_CNT = 118"));
    }
    ASSERT_EQ(CgmReadingTable::insertNew(*db, {{"20070301080000", 121, 0, "clarity"}}), 1);

    ASSERT_TRUE(db->exec("create trigger t before insert on A1C begin select raise(abort, "
                         "'refused by the test'); end"));
    prompts.expect("Database",
                   QString(DatabaseImport::kStoreFailed).arg(source, "refused by the test"));
    EXPECT_FALSE(import(source).ok);
    EXPECT_EQ(CgmReadingTable::count(*db), 1);
    ASSERT_TRUE(db->exec("drop trigger t"));

    const ImportResult result = import(source);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.readingsStored, 1);
    EXPECT_EQ(result.readingsKnown, 1);
    // Ann's own reading at 08:00 stays as it was; the deleted one of Bea is not copied.
    EXPECT_EQ(CgmReadingTable::between(*db, "20070301000000", "20070301235959"),
              (std::vector<CgmReading>{{"20070301080000", 121, 0, "clarity"},
                                       {"20070301080500", 400, 1, "clarity"}}));
}
