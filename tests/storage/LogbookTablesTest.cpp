#include "logbook/DaySummary.h"
#include "support/LogbookTest.h"

#include <climits>

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
};

// Medication and correction doses, and the hundredths they add to the day's total.
using Doses = std::tuple<const char*, const char*, int>;

// The day's insulin total counts each amount whole: its integer part and two decimals.
class DayInsulinTotal : public LogbookTest, public testing::WithParamInterface<Doses> {};

} // namespace

TEST_F(LogbookTables, DefaultsOfNewRecordsDifferFromCleared) {
    Sample entry;
    SampleDate day;
    const auto defaults = [&] {
        return std::tuple(entry.getSampleDatePk(), entry.getNewSiteBol(), entry.getSyncState(),
                          day.getDayTypeId(), day.getNewSiteBol());
    };
    EXPECT_EQ(defaults(), std::tuple(-1, false, 10, 1, false));
    entry.clear();
    day.clear();
    EXPECT_EQ(defaults(), std::tuple(0, true, 10, 0, true));
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
    // "true" does not begin with "T".
    EXPECT_EQ(std::tuple(entry->getPk(), entry->getNewSiteBol(), entry->getSampleDatePk(),
                         entry->getSampleTime()),
              std::tuple(5, false, -1, QString()));
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

TEST_F(LogbookTables, SaveWithDayFilesEntryUnderItsDayAndDropsTheTimeOfNoDoses) {
    int day = addDay("20070315");
    EXPECT_EQ(SampleTable::getByPk(*db, addEntry("20070315083000"))->getSampleDatePk(), day);
    EXPECT_EQ(SampleTable::getByPk(*db, addEntry("20070316083000"))->getSampleDatePk(), -1);
    EXPECT_EQ(SampleDateTable::getCount(*db), 1); // never creates a day
    EXPECT_EQ(SampleDateTable::getByDate(*db, "20070315083000")->getPk(), day);
    // A new entry is stored as added whatever state is given, then with the given one.
    for (auto [dosage, correction] : {std::pair{"", ""}, {"", "2H"}, {"4H", ""}}) {
        Sample entry;
        entry.setSampleTime("20070315120000");
        entry.setInsulinTime("20070315120000");
        entry.setMedicationDosage(dosage);
        entry.setCorrectionDosage(correction);
        ASSERT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Changed));
        EXPECT_EQ(entry.getInsulinTime().isEmpty(), !*dosage && !*correction);
        const std::string pk = std::to_string(entry.getPk());
        EXPECT_EQ(rows(("select SYNC_STATE from SAMPLE where PK = " + pk).c_str()), Rows{"10"});
        ASSERT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Changed));
        EXPECT_EQ(
            rows(("select SYNC_STATE, INSULIN_TIME = '' from SAMPLE where PK = " + pk).c_str()),
            Rows{std::string("20|") + (!*dosage && !*correction ? "1" : "0")});
    }
}

// A day owns its entries (all of them, not only a hundred) and its note; an entry owns its
// note. What the handheld knows is only marked deleted, the rest goes at once.
TEST_F(LogbookTables, RemovingADayTakesEverythingItOwns) {
    const int local = addDay("20070315");
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set NOTE_PK = %ld", long(addNote("sick day", 1))));
    for (int i = 0; i < 120; ++i)
        addEntry(QString::asprintf("20070315%02d%02d00", i / 60 + 8, i % 60), 100,
                 i % 2 ? addNote("entry") : 0);
    const int known = addDay("20070316", [](SampleDate& d) { d.setFk(11); });
    const int knownEntry = addEntry("20070316080000", 90, addNote("known", 0, 0, 6), 5);
    const int localEntry = addEntry("20070316090000", 95, addNote("local"));
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set SYNC_STATE = 20"));

    EXPECT_TRUE(SampleDateTable::removeByPk(*db, local));
    EXPECT_EQ(rows("select count(*) from SAMPLE_DATE where PK = 1"), Rows{"0"});
    EXPECT_EQ(rows("select count(*), min(PK) from SAMPLE"),
              (Rows{"2|" + std::to_string(knownEntry)}));
    EXPECT_EQ(rows("select TEXT from NOTE"), (Rows{"known", "local"}));

    EXPECT_TRUE(SampleDateTable::removeByPk(*db, known));
    EXPECT_EQ(rows("select PK, SYNC_STATE from SAMPLE_DATE"), Rows{std::to_string(known) + "|30"});
    EXPECT_EQ(rows("select PK, SYNC_STATE from SAMPLE"), Rows{std::to_string(knownEntry) + "|30"});
    EXPECT_EQ(rows("select TEXT, SYNC_STATE from NOTE"), Rows{"known|30"});
    EXPECT_EQ(SampleTable::getByPk(*db, localEntry), nullptr);
    EXPECT_FALSE(SampleDateTable::selectAll(*db, 0, true)->step());
    // Nothing under a key counts as removed.
    EXPECT_TRUE(SampleDateTable::removeByPk(*db, 12345));
    EXPECT_TRUE(SampleTable::removeByPk(*db, 999));
}

TEST_F(LogbookTables, OnlyAnEightDigitDateReachesTheUnquotedComparison) {
    prompts.expect("SampleDateTable::getTruncatableCnt");
    EXPECT_EQ(SampleDateTable::getTruncatableCnt(*db, "1 or 1=1"), 0);
    EXPECT_EQ(SampleDateTable::selectBefore(*db, "2007031"), nullptr);
}

TEST_P(DayInsulinTotal, CountsEveryAmountUpToItsHundredths) {
    const int day = addDay("20070315");
    addEntry("20070315080000", 100, [](Sample& entry) {
        entry.setMedicationDosage(std::get<0>(GetParam()));
        entry.setCorrectionDosage(std::get<1>(GetParam()));
    });
    addEntry("20070315120000", 100, [](Sample& entry) { entry.setMedicationDosage("1.01H"); });
    const MedicationLookup insulinH = [](QChar code) -> std::optional<MedicationFlags> {
        if (code == u'H')
            return MedicationFlags{true, true};
        return std::nullopt;
    };
    auto record = SampleDateTable::getByPk(*db, day);
    ASSERT_TRUE(record && summarizeDay(*db, *record, true, insulinH));
    EXPECT_EQ(SampleDateTable::getByPk(*db, day)->getTtlInsulinAmt(),
              std::get<2>(GetParam()) == INT_MAX ? INT_MAX : std::get<2>(GetParam()) + 101);
}

INSTANTIATE_TEST_SUITE_P(LongAmounts, DayInsulinTotal,
                         testing::Values(Doses("12.25H", "", 1225), Doses("100.5H", "", 10050),
                                         Doses("10.25H 2.75H", "", 1300),
                                         Doses("999.99H", "100.25H", 110024),
                                         Doses("5.5H", "1.25H", 675), Doses("12.125H", "", 1212),
                                         Doses("0.05H 7H", "12.5H", 1955),
                                         Doses("99999999999999H", "", INT_MAX)));
