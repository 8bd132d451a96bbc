#include "exchange/DatabaseImport.h"
#include "ExchangeTest.h"
#include "support/GoldenFile.h"

#include <QDir>

namespace {

const QStringList kLogbookTables = {"SAMPLE_DATE", "SAMPLE", "NOTE",      "BLOOD_PRESSURE",
                                    "A1C",         "CARBS",  "MEDICATION"};

} // namespace

class DatabaseImportTest : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        context = std::make_unique<CountingContext>(*db, prompts, clock.now());
        // Ann already has a day of her own on the 16th, with a note, and an entry that day;
        // her insulin goes by pump.
        changePreference();
        SampleDate day;
        day.setSampleDate("20070316");
        ASSERT_TRUE(SampleDateTable::save(*db, day));
        Note note;
        note.setNoteType(NoteType::Day);
        note.setOwnerPk(day.getPk());
        note.setText("Ann's own note of the day");
        ASSERT_TRUE(NoteTable::save(*db, note));
        day.setNotePk(note.getPk());
        ASSERT_TRUE(SampleDateTable::save(*db, day, SyncState::Added));
        Sample entry;
        entry.setSampleTime("20070316120000");
        entry.setGlucoseCnt(100);
        ASSERT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Added));
    }

    void changePreference() {
        auto preference = PreferenceTable::load(*db);
        preference->setDeliveryCode(kDeliveryPump);
        ASSERT_TRUE(PreferenceTable::save(*db, *preference));
    }

    ImportResult import(const QString& path) {
        DatabaseImport importer(*context, progress);
        return importer.import(path);
    }

    std::unique_ptr<CountingContext> context;
};

TEST_F(DatabaseImportTest, CopiesEntriesDaysNotesVitalsA1csAndFoodsIntoTheCurrentPatient) {
    const QString source = makeSourceDatabase("bea.db", "exchange/import_source.sql");
    const QByteArray sourceBytes = bytesOf(source);
    // The temporary copy goes where the system keeps temporary files, and goes again.
    const QString temp = pathOf("tmp");
    ASSERT_TRUE(QDir().mkpath(temp));
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.toUtf8());
    const ImportResult result = import(source);
    qputenv("TMPDIR", oldTemp);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    expectGoldenFile(dump(kLogbookTables), "exchange/import_source_expected.txt");
    // Six live entries, two live vitals, two live A1c results and two live foods.
    EXPECT_EQ(std::tuple(result.recordsRead, result.recordsApplied, result.daysSummarized),
              std::tuple(12, 12, 4));
    EXPECT_EQ(progress.topics,
              QStringList({DatabaseImport::kEntriesTopic, DatabaseImport::kVitalsTopic,
                           DatabaseImport::kA1cTopic, DatabaseImport::kFoodsTopic}));
    // The entries' bar counts every source row, the removed one too.
    EXPECT_EQ(progress.items.mid(0, 2),
              QStringList({"20070315083000 1 of 7", "20070315123000 2 of 7"}));
    EXPECT_EQ(progress.items.mid(6),
              QStringList({"20070315080000 1 of 2", "20070316090000 2 of 2", "20070301 1 of 2",
                           "20061201 2 of 2", "Rye bread 1 slice 1 of 2",
                           "Porridge 'oats' 1 cup 2 of 2"}));
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(context->reloads, 1);
    EXPECT_EQ(bytesOf(source), sourceBytes);
    EXPECT_TRUE(QDir(temp).isEmpty());
}

TEST_F(DatabaseImportTest, ASecondImportDoublesEntriesButNeverDays) {
    const QString source = makeSourceDatabase("bea.db", "exchange/import_source.sql");
    ASSERT_TRUE(import(source).ok);
    const QStringList once = dump({"SAMPLE_DATE"});
    const int entries = db->count("select count(*) from SAMPLE");
    ASSERT_TRUE(import(source).ok);
    EXPECT_EQ(db->count("select count(*) from SAMPLE_DATE"), once.size());
    EXPECT_EQ(db->count("select count(*) from SAMPLE"), 2 * entries - 1); // Ann's own once
    EXPECT_EQ(db->count("select count(*) from MEDICATION where MED_DESC like 'Import-%%'"), 3);
}

// A file of an older version is brought to the current layout on the copy only; it has no
// A1c results and no foods, so Ann keeps her food list.
TEST_F(DatabaseImportTest, ConvertsAnOlderFileOnTheCopyAndLeavesTheFileAsItWas) {
    const QString source = pathOf("version3.db");
    {
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open(source.toUtf8().constData(), &handle), SQLITE_OK);
        runScript(handle, "version3.sql");
        sqlite3_close(handle);
    }
    const QByteArray before = bytesOf(source);
    const ImportResult result = import(source);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(bytesOf(source), before);
    EXPECT_FALSE(QFile::exists(source + "-wal") || QFile::exists(source + "-journal"));
    expectGoldenFile(dump({"SAMPLE_DATE", "SAMPLE", "NOTE", "BLOOD_PRESSURE"}),
                     "exchange/import_version3_expected.txt");
    EXPECT_EQ(db->count("select count(*) from CARBS"), 13);
    EXPECT_TRUE(progress.topics.contains(DatabaseImport::kEntriesTopic));
    EXPECT_FALSE(progress.topics.contains(DatabaseImport::kFoodsTopic));
}

// What the other program committed last may still wait in the write-ahead log of the file.
TEST_F(DatabaseImportTest, ReadsChangesStillInTheWriteAheadLogOfTheSource) {
    const QString source = makeSourceDatabase("bea.db", "exchange/import_source.sql");
    Database writer(source, prompts);
    ASSERT_TRUE(writer.exec("pragma wal_autocheckpoint=0"));
    ASSERT_TRUE(writer.exec("update SAMPLE set GLUCOSE_CNT = 222 where PK = 21"));
    const QByteArray mainFile = bytesOf(source);
    ASSERT_TRUE(import(source).ok);
    EXPECT_EQ(db->count("select count(*) from SAMPLE where GLUCOSE_CNT = 222"), 1);
    EXPECT_EQ(bytesOf(source), mainFile);
}

// Whatever fails part way, nothing of the file is kept: Ann's logbook, her medications and
// her food list (even after it was dropped for the new one) are exactly as before.
TEST_F(DatabaseImportTest, AFailurePartWayLeavesTheLogbookExactlyAsItWas) {
    const QString source = makeSourceDatabase("bea.db", "exchange/import_source.sql");
    const char* raise = " begin select raise(abort, 'refused by the test'); end";
    const struct {
        const char* trigger; // on Ann's file before the import; nothing: when foods are new
        const char* stepReached;
    } cases[] = {
        {"create trigger t before insert on MEDICATION when new.MED_CODE = 'Q'",
         DatabaseImport::kEntriesTopic},
        {"create trigger t before update on SAMPLE when new.NOTE_PK <> 0",
         DatabaseImport::kEntriesTopic},
        {"create trigger t before insert on NOTE when new.NOTE_TYPE = 2",
         DatabaseImport::kVitalsTopic},
        {"create trigger t before insert on A1C when new.a1c_count = '7.4'",
         DatabaseImport::kA1cTopic},
        {nullptr, DatabaseImport::kFoodsTopic},
    };
    for (const auto& c : cases) {
        if (c.trigger) {
            ASSERT_TRUE(db->exec((std::string(c.trigger) + raise).c_str()));
        }
        const QStringList before = dumpAll();
        progress = RecordingProgress();
        DatabaseImport importer(*context, progress);
        importer.setFoodsTableCreatedHook([this, raise] {
            ASSERT_TRUE(db->exec(
                (std::string("create trigger f before insert on CARBS when new.fk = 0") + raise)
                    .c_str()));
        });
        prompts.expect("Database",
                       QString(DatabaseImport::kStoreFailed).arg(source, "refused by the test"));
        const ImportResult result = importer.import(source);
        prompts.verify();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.recordsApplied, 0);
        EXPECT_EQ(progress.topics.last(), QString(c.stepReached)) << c.trigger;
        EXPECT_EQ(progress.finished, 1);
        EXPECT_EQ(dumpAll(), before) << c.stepReached;
        EXPECT_EQ(context->reloads, 0);
        db->exec("drop trigger t");
    }
}

TEST_F(DatabaseImportTest, RefusesAFileThatIsNoPatientDatabaseAndStoresNothing) {
    QByteArray garbage;
    for (int i = 0; i < 8192; ++i)
        garbage += char((i * 7919 + 13) % 251);
    QByteArray notLogbook;
    {
        Database other(pathOf("other.db"), prompts);
        ASSERT_TRUE(other.exec("create table SAMPLE (x)"));
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"export.txt", "03/15/2007 08:30\t120\t045\t\n"},
        {"empty.db", ""},
        {"garbage.db", garbage},
        {"other.db", {}}, // a database, but not a logbook
    };
    const QStringList before = dumpAll();
    for (const auto& c : cases) {
        const QString path = pathOf(c.name);
        if (!c.bytes.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        const QByteArray bytes = bytesOf(path);
        prompts.allowAny();
        prompts.clear();
        const ImportResult result = import(path);
        EXPECT_FALSE(result.ok) << c.name;
        ASSERT_EQ(prompts.count(), 1) << c.name;
        const QString prefix = path + "\nis not a Quillmarch database and cannot be imported: ";
        EXPECT_EQ(prompts.shown()[0].caption, "Quillmarch");
        EXPECT_TRUE(prompts.shown()[0].text.startsWith(prefix) &&
                    prompts.shown()[0].text.size() > prefix.size() + 1)
            << prompts.shown()[0].text.toStdString();
        EXPECT_EQ(result.error, prompts.shown()[0].text);
        EXPECT_EQ(bytesOf(path), bytes) << c.name;
    }
    EXPECT_EQ(dumpAll(), before);
    EXPECT_TRUE(progress.topics.isEmpty());
}

TEST_F(DatabaseImportTest, TellsAFileWithoutStatusAndAFailedConversion) {
    const QString missing = pathOf("gone.db");
    prompts.expect("Quillmarch", QString("Unable to obtain status for file:\n") + missing);
    EXPECT_FALSE(import(missing).ok);
    prompts.verify();

    // Preferences of an old layout without a row cannot be converted.
    const QString source = makeSourceDatabase("nopref.db", "convert_no_preference_row.sql");
    const QStringList before = dumpAll();
    prompts.allowAny();
    prompts.clear();
    const ImportResult result = import(source);
    EXPECT_FALSE(result.ok);
    ASSERT_GE(prompts.count(), 1);
    EXPECT_EQ(prompts.shown().back().caption, "Quillmarch");
    EXPECT_EQ(prompts.shown().back().text, "Database Convertion failed");
    EXPECT_TRUE(result.error.contains(source));
    EXPECT_EQ(dumpAll(), before);
}
