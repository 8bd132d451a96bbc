#include "support/LogbookTest.h"

using Rows = std::vector<std::string>;

namespace {

class LogbookTables : public LogbookTest {
protected:
    int addEntry(const QString& time, int glucose = 100, int notePk = 0, int fk = 0) {
        return LogbookTest::addEntry(time, glucose, [=](Sample& entry) {
            entry.setNotePk(notePk);
            entry.setFk(fk);
        });
    }

    std::vector<int> pksOf(std::unique_ptr<Query> q) {
        std::vector<int> pks;
        while (q && q->step())
            pks.push_back(static_cast<int>(q->intValue(0)));
        return pks;
    }
};

} // namespace

TEST_F(LogbookTables, DefaultsOfNewRecordsDifferFromCleared) {
    Sample entry;
    SampleDate day;
    EXPECT_EQ(entry.getSampleDatePk(), -1);
    EXPECT_FALSE(entry.getNewSiteBol());
    EXPECT_EQ(entry.getSyncState(), 10);
    EXPECT_EQ(day.getDayTypeId(), 1);
    EXPECT_FALSE(day.getNewSiteBol());
    entry.clear();
    day.clear();
    EXPECT_EQ(entry.getSampleDatePk(), 0);
    EXPECT_TRUE(entry.getNewSiteBol());
    EXPECT_EQ(day.getDayTypeId(), 0);
    EXPECT_TRUE(day.getNewSiteBol());
}

TEST_F(LogbookTables, RowsAreReadByColumnNameNotPosition) {
    // Columns missing from the row keep the constructor defaults; unknown ones are skipped;
    // a boolean is true only when its text begins with "T".
    ASSERT_TRUE(db->exec("insert into SAMPLE ( PK, SAMPLE_TIME, NEW_SITE_BOL ) values ( 5, "
                         "'20070101120000', 'true' )"));
    auto q = db->query("select NEW_SITE_BOL, 1 as EXTRA, PK from SAMPLE");
    ASSERT_TRUE(q);
    auto entry = SampleTable::getNext(*db, *q);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->getPk(), 5);
    EXPECT_FALSE(entry->getNewSiteBol()); // "true" does not begin with "T"
    EXPECT_EQ(entry->getSampleDatePk(), -1);
    EXPECT_TRUE(entry->getSampleTime().isEmpty());
    EXPECT_EQ(SampleTable::getNext(*db, *q), nullptr);

    ASSERT_TRUE(db->exec("update SAMPLE set NEW_SITE_BOL='Tx'"));
    EXPECT_TRUE(SampleTable::getByPk(*db, 5)->getNewSiteBol());
    // A column number out of range has no name.
    EXPECT_EQ(SampleTable::getColumnName(15), "?");
    EXPECT_EQ(SampleTable::getColumnName(-1), "?");
}

TEST_F(LogbookTables, TextsAreCutToTheirWidthInCharacters) {
    Note note;
    note.setText(QString(300, 'n'));
    EXPECT_EQ(note.getText().size(), 256);
    // Fifteen characters of two bytes each must all be kept; the sixteenth is cut. A
    // character outside the basic plane is not split in half.
    const int pk = addSlot(QString::fromUtf8("12😀45"), QString::fromUtf8("ÄÖÜäöüßéèêëïîôûx"));
    auto back = SampleTypeTable::getByPk(*db, pk);
    EXPECT_EQ(back->getDesc(), QString::fromUtf8("ÄÖÜäöüßéèêëïîôû"));
    EXPECT_EQ(back->getSampleTime(), QString::fromUtf8("12😀4"));
}

TEST_F(LogbookTables, SaveWithDayFilesEntryUnderItsDay) {
    int day = addDay("20070315");
    int filed = addEntry("20070315083000");
    int orphan = addEntry("20070316083000");
    EXPECT_EQ(SampleTable::getByPk(*db, filed)->getSampleDatePk(), day);
    EXPECT_EQ(SampleTable::getByPk(*db, orphan)->getSampleDatePk(), -1);
    EXPECT_EQ(SampleDateTable::getCount(*db), 1); // never creates a day
    EXPECT_EQ(SampleDateTable::getByDate(*db, "20070315083000")->getPk(), day);
    EXPECT_EQ(SampleDateTable::getByDate(*db, "20070317"), nullptr);
}

TEST_F(LogbookTables, SaveWithDayUsesAddedForNewEntriesAndTheGivenStateOtherwise) {
    addDay("20070315");
    Sample entry;
    entry.setSampleTime("20070315083000");
    ASSERT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Changed));
    EXPECT_EQ(rows("select SYNC_STATE from SAMPLE"), Rows{"10"});
    ASSERT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Changed));
    EXPECT_EQ(rows("select SYNC_STATE from SAMPLE"), Rows{"20"});
}

TEST_F(LogbookTables, EntryWithoutDosesNeverCountsAsInsulinGiven) {
    addDay("20070315");
    auto dosed = [this](const char* time, const char* dosage, const char* correction) {
        Sample entry;
        entry.setSampleTime(time);
        entry.setInsulinTime(time);
        entry.setMedicationDosage(dosage);
        entry.setCorrectionDosage(correction);
        EXPECT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Added));
        EXPECT_EQ(entry.getInsulinTime().isEmpty(), !*dosage && !*correction) << time;
        return entry.getPk();
    };
    dosed("20070315080000", "", "");
    const int correctionOnly = dosed("20070315120000", "", "2H");
    const int earlier = dosed("20070315060000", "4H", "");
    const int later = dosed("20070315180000", "6H", "");

    // At or after the moment, oldest first; the dose-less entry is never returned.
    EXPECT_EQ(pksOf(SampleTable::selectInsulinSince(*db, "20070315060000")),
              (std::vector<int>{earlier, correctionOnly, later}));
    EXPECT_EQ(pksOf(SampleTable::selectInsulinSince(*db, "20070315060001")),
              (std::vector<int>{correctionOnly, later}));
    EXPECT_EQ(pksOf(SampleTable::selectInsulinSince(*db, "00000000000000")).size(), 3u);
}

TEST_F(LogbookTables, SelectionsOrderAndExcludeDeletedRows) {
    int day = addDay("20070315");
    int b = addEntry("20070315120000");
    int a = addEntry("20070315070000");
    int c = addEntry("20070315210000");
    int gone = addEntry("20070315150000");
    ASSERT_TRUE(db->exec("update SAMPLE set SAMPLE_TYPE_PK = 2"));
    ASSERT_TRUE(db->exec("update SAMPLE set SAMPLE_TYPE_PK = 1 where PK = %ld", long(b)));
    ASSERT_TRUE(db->exec("update SAMPLE set SYNC_STATE = 30 where PK = %ld", long(gone)));

    EXPECT_EQ(pksOf(SampleTable::selectByDay(*db, day, true)), (std::vector<int>{a, b, c}));
    EXPECT_EQ(pksOf(SampleTable::selectByDay(*db, day, false)), (std::vector<int>{c, b, a}));
    EXPECT_EQ(pksOf(SampleTable::selectByDayAndType(*db, day, 2, true)), (std::vector<int>{a, c}));
    // selectByType's flag asks for descending order.
    EXPECT_EQ(pksOf(SampleTable::selectByType(*db, 2, true)), (std::vector<int>{c, a}));
    EXPECT_EQ(pksOf(SampleTable::selectByType(*db, 2, false)), (std::vector<int>{a, c}));
    EXPECT_EQ(pksOf(SampleTable::selectAll(*db, 5, false)), (std::vector<int>{c, b, a}));
    // Reads by PK and by exact time still see a deleted row where they should.
    EXPECT_TRUE(SampleTable::getByPk(*db, gone));
    EXPECT_EQ(SampleTable::getBySampleTime(*db, "20070315150000"), nullptr);
    EXPECT_EQ(SampleTable::getBySampleTime(*db, "20070315120000")->getPk(), b);
    EXPECT_EQ(SampleTable::getCount(*db), 4);
}

TEST_F(LogbookTables, RemovingAnEntryTakesItsNoteAlong) {
    addDay("20070315");
    int localNote = addNote("local");
    int local = addEntry("20070315080000", 100, localNote);
    int knownNote = addNote("known", NoteType::LogEntry, 0, 6);
    int known = addEntry("20070315090000", 100, knownNote, 7);
    EXPECT_TRUE(SampleTable::removeByPk(*db, local));
    EXPECT_EQ(NoteTable::getByPk(*db, localNote), nullptr);
    // Known to the handheld: both only marked, so that the deletion reaches it.
    EXPECT_TRUE(SampleTable::removeByPk(*db, known));
    EXPECT_EQ(SampleTable::getByPk(*db, known)->getSyncState(), 30);
    EXPECT_EQ(NoteTable::getByPk(*db, knownNote)->getSyncState(), 30);
    EXPECT_TRUE(SampleTable::removeByPk(*db, 999)); // no row is a success
}

TEST_F(LogbookTables, RemovingADayRemovesEntriesTheirNotesAndTheDayNote) {
    int day = addDay("20070315");
    int dayNote = addNote("sick day", NoteType::Day, day);
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set NOTE_PK = %ld", long(dayNote)));
    for (int i = 0; i < 120; ++i) {
        const QString time = QString("20070315%1%2%3")
                                 .arg(i / 60 + 8, 2, 10, QChar('0'))
                                 .arg(i % 60, 2, 10, QChar('0'))
                                 .arg(0, 2, 10, QChar('0'));
        addEntry(time, 100, i % 2 ? addNote(QString("entry %1").arg(i)) : 0);
    }
    int otherDay = addDay("20070316");
    int survivor = addEntry("20070316080000");

    EXPECT_TRUE(SampleDateTable::removeByPk(*db, day));
    EXPECT_EQ(SampleDateTable::getByPk(*db, day), nullptr);
    // Every entry of the day goes, not only the first hundred.
    EXPECT_EQ(rows("select count(*) from SAMPLE"), Rows{"1"});
    EXPECT_EQ(rows("select count(*) from NOTE"), Rows{"0"});
    EXPECT_TRUE(SampleDateTable::getByPk(*db, otherDay));
    EXPECT_TRUE(SampleTable::getByPk(*db, survivor));
    // An empty day with no note is simply removed; a missing one counts as removed.
    EXPECT_TRUE(SampleDateTable::removeByPk(*db, otherDay));
    EXPECT_TRUE(SampleDateTable::removeByPk(*db, 12345));
}

TEST_F(LogbookTables, DayKnownToHandheldIsMarkedWithItsEntries) {
    int day = addDay("20070315", [](SampleDate& d) { d.setFk(11); });
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set SYNC_STATE = 20"));
    int known = addEntry("20070315080000", 90, 0, 5);
    int local = addEntry("20070315090000", 95);
    EXPECT_TRUE(SampleDateTable::removeByPk(*db, day));
    EXPECT_EQ(SampleDateTable::getByPk(*db, day)->getSyncState(), 30);
    EXPECT_EQ(SampleTable::getByPk(*db, known)->getSyncState(), 30);
    EXPECT_EQ(SampleTable::getByPk(*db, local), nullptr);
    EXPECT_TRUE(pksOf(SampleDateTable::selectAll(*db, 0, true)).empty());
}

TEST_F(LogbookTables, DeleteOrphansKeepsNotesTheirOwnersPointTo) {
    ASSERT_TRUE(db->exec("create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, NOTE_PK "
                         "INTEGER )"));
    int day = addDay("20070315");
    int kept = addNote("kept", NoteType::Day, day);
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set NOTE_PK = %ld", long(kept)));
    addNote("orphan", NoteType::Day, 99);
    int entryNote = addNote("entry");
    addEntry("20070315080000", 100, entryNote);
    addNote("orphan entry");
    int vitalNote = addNote("vital", NoteType::Vital, 1);
    addNote("orphan vital", NoteType::Vital, 2);
    ASSERT_TRUE(db->exec("insert into BLOOD_PRESSURE values ( 1, %ld )", long(vitalNote)));

    EXPECT_TRUE(NoteTable::deleteOrphans(*db));
    EXPECT_EQ(rows("select TEXT from NOTE order by PK"), (Rows{"kept", "entry", "vital"}));
}

TEST_F(LogbookTables, SummaryAndRetentionSelections) {
    addDay("20070101");
    addDay("20070214");
    int recent = addDay("20070315");
    EXPECT_EQ(SampleDateTable::getSummarizableCnt(*db), 0);
    EXPECT_TRUE(SampleDateTable::markAllUnsummarized(*db));
    EXPECT_EQ(SampleDateTable::getSummarizableCnt(*db), 3);
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set SUMMARY_STATE = 0 where PK = %ld", long(recent)));
    EXPECT_EQ(pksOf(SampleDateTable::selectUnsummarized(*db)).size(), 2u);

    EXPECT_EQ(SampleDateTable::getTruncatableCnt(*db, "20070214"), 1);
    EXPECT_EQ(SampleDateTable::getTruncatableCnt(*db, "20070215"), 2);
    EXPECT_EQ(pksOf(SampleDateTable::selectBefore(*db, "20070315")).size(), 2u);
    // Only an eight-digit date may reach the unquoted comparison.
    prompts.expect("SampleDateTable::getTruncatableCnt");
    EXPECT_EQ(SampleDateTable::getTruncatableCnt(*db, "1 or 1=1"), 0);
    EXPECT_EQ(SampleDateTable::selectBefore(*db, "2007031"), nullptr);
}

TEST_F(LogbookTables, SetDeliveryCodeAllMarksHandheldRowsChanged) {
    addDay("20070315");
    addEntry("20070315080000");
    addEntry("20070315090000", 100, 0, 4);
    int deleted = addEntry("20070315100000", 100, 0, 5);
    ASSERT_TRUE(db->exec("update SAMPLE set SYNC_STATE = 30 where PK = %ld", long(deleted)));
    EXPECT_TRUE(SampleTable::setDeliveryCodeAll(*db, 0));
    EXPECT_EQ(rows("select PK, DELIVERY_CODE, SYNC_STATE from SAMPLE order by PK"),
              (Rows{"1|0|10", "2|0|20", "3|0|30"}));
}
