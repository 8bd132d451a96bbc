#include "storage/OldLayouts.h"
#include "support/TestDatabase.h"

using Rows = std::vector<std::string>;

namespace {

// An operation a table does not have must not even compile.
template <class T>
concept Counts = requires(Database& db) {
    T::getCount(db);
};
template <class T>
concept Lists = requires(Database& db) {
    T::selectAll(db, 0, true);
};
template <class T>
concept Deletes = requires(Database& db) {
    T::deleteRow(db, 1);
};
template <class T>
concept Marks = requires(Database& db) {
    T::markDeleted(db, 1);
};
template <class T>
concept Removes = requires(Database& db, const typename T::Abs& r) {
    T::remove(db, r);
};

static_assert(!Deletes<SampleTypeTable> && !Marks<SampleTypeTable> && !Deletes<PreferenceTable> &&
              !Marks<PreferenceTable> && !Deletes<QbPreferenceTable> && !Marks<QbPreferenceTable>);
static_assert(!Marks<MeterTable> && !Marks<ProtocolTable> && !Counts<MeterTable> &&
              !Counts<PreferenceTable> && !Lists<NoteTable> && !Lists<QbPreferenceTable>);
static_assert(Deletes<NoteTable> && Marks<NoteTable> && Counts<SampleTable> &&
              Lists<SampleTypeTable> && !Removes<SampleTypeTable>);

// How a table removes a row: by the handheld rule (marked 30 while the handheld knows it),
// always at once, or not at all.
enum class Removal { Rule, AtOnce, None };

// One table: how it removes, and whether a PK no row has is inserted under it.
template <class T, Removal kRemoval, bool kInsertsUnderPk = true> struct Case {
    using Table = T;
    static std::string table() {
        return std::string(T::TableTraits::kDrop).substr(std::string("drop table ").size());
    }
    static constexpr Removal removal = kRemoval;
    static constexpr bool insertsUnderPk = kInsertsUnderPk;
    // The extreme limits a quick-bolus target derives itself on saving.
    static bool derived(const char* column) { return QString(column).endsWith("_EXT"); }
};

using AllTables =
    testing::Types<Case<SampleDateTable, Removal::Rule>, Case<SampleTable, Removal::Rule>,
                   Case<SampleTypeTable, Removal::None>, Case<NoteTable, Removal::Rule>,
                   Case<PreferenceTable, Removal::None>, Case<A1cTable, Removal::Rule>,
                   Case<CarbsTable, Removal::Rule>, Case<BloodPressureTable, Removal::Rule>,
                   Case<MedicationTable, Removal::Rule>, Case<MeterTable, Removal::AtOnce, false>,
                   Case<ProtocolTable, Removal::AtOnce>, Case<BasilRateTable, Removal::Rule>,
                   Case<QbPreferenceTable, Removal::None>, Case<QbRatioTable, Removal::Rule>,
                   Case<QbSensitivityTable, Removal::Rule>, Case<QbTargetTable, Removal::Rule>>;

template <class C> class TableContract : public DatabaseTest {
protected:
    using Table = typename C::Table;
    using Record = typename Table::Record;
    using Column = ::Column<typename Table::Abs>;

    void SetUp() override {
        DatabaseTest::SetUp();
        OldLayouts::createTables(*db);
    }

    static bool named(const Column& column, const char* name) {
        return qstricmp(column.name, name) == 0;
    }

    // Every column but the keys gets a value of its own, as stored: numbers 100 + position,
    // texts the position and an apostrophe, booleans "T" at odd positions.
    static QString valueAt(int i, const Column& col) {
        if (col.kind == ColumnKind::Integer)
            return QString::number(100 + i);
        return col.kind == ColumnKind::Text ? QString::number(i) + "'" : i % 2 ? "T" : "F";
    }

    static Record filled(int fk) {
        Record record;
        int i = 0;
        for (const Column& col : Table::TableTraits::columns()) {
            const QString value = valueAt(i++, col);
            if (col.kind == ColumnKind::Integer)
                (record.*col.setInt)(value.toInt());
            else if (col.kind == ColumnKind::Text)
                (record.*col.setText)(value);
            else
                (record.*col.setBool)(value == "T");
        }
        record.setPk(0);
        record.setFk(fk);
        return record;
    }

    // The row a filled record is stored as, columns in table order ("*" where derived).
    static std::string expected(int pk, int fk, int state) {
        QStringList row;
        int i = 0;
        for (const Column& col : Table::TableTraits::columns()) {
            row << (i == 0                     ? QString::number(pk)
                    : named(col, "FK")         ? QString::number(fk)
                    : named(col, "SYNC_STATE") ? QString::number(state)
                    : C::derived(col.name)     ? "*"
                                               : valueAt(i, col));
            ++i;
        }
        return row.join('|').toStdString();
    }

    std::string stored(int pk) {
        const Rows found =
            rows(("select * from " + C::table() + " where pk=" + std::to_string(pk)).c_str());
        if (found.empty())
            return "none";
        QStringList row = QString::fromStdString(found.front()).split('|');
        for (int i = 0; i < row.size(); ++i)
            if (C::derived(Table::TableTraits::columns()[i].name))
                row[i] = "*";
        return row.join('|').toStdString();
    }

    bool remove(int pk) {
        if constexpr (Removes<Table>) {
            auto record = Table::getByPk(*db, pk);
            return record && Table::remove(*db, *record);
        } else {
            return Table::removeByPk(*db, pk);
        }
    }
};

TYPED_TEST_SUITE(TableContract, AllTables);

// Each table's statement formats and creation caption, "-" for a statement it has not.
template <class... Cases> QStringList formatsOf(testing::Types<Cases...>) {
    QStringList made;
    (
        [&made] {
            using T = typename Cases::Table::TableTraits;
            made << T::kDrop << T::kCreate << T::kCreateCaption;
            for (const char* text : {T::kCount, T::kSelectAll, T::kByPk, T::kDelete,
                                     T::kMarkDeleted, T::kInsert, T::kInsertWithPk, T::kUpdate})
                made << (text ? text : "-");
        }(),
        ...);
    return made;
}

} // namespace

TYPED_TEST(TableContract, SaveInsertsThenUpdatesEveryColumn) {
    using Table = typename TestFixture::Table;
    Database& db = *this->db;
    auto record = this->filled(7);
    record.setSyncState(SyncState::Changed);
    ASSERT_TRUE(Table::save(db, record));
    EXPECT_EQ(record.getPk(), 1);
    EXPECT_EQ(this->stored(1), this->expected(1, 7, SyncState::Added));
    ASSERT_TRUE(Table::save(db, record));
    EXPECT_EQ(this->stored(1), this->expected(1, 7, SyncState::Changed));
    ASSERT_TRUE(Table::save(db, record, SyncState::Added));
    EXPECT_EQ(this->stored(1), this->expected(1, 7, SyncState::Added));
    EXPECT_EQ(record.getSyncState(), SyncState::Changed); // the record's own state is kept

    // A record read back is stored again as the same row.
    auto back = Table::getByPk(db, 1);
    ASSERT_TRUE(back);
    back->setPk(0);
    ASSERT_TRUE(Table::save(db, *back));
    EXPECT_EQ(this->stored(2), this->expected(2, 7, SyncState::Added));
}

TYPED_TEST(TableContract, StateNinetyNineIsKeptAndAKeyNoRowHasIsInsertedUnderIt) {
    using Table = typename TestFixture::Table;
    auto record = this->filled(7);
    ASSERT_TRUE(Table::save(*this->db, record, SyncState::Foreign));
    EXPECT_EQ(record.getFk(), 0);
    EXPECT_EQ(this->stored(1), this->expected(1, 0, SyncState::Foreign));
    record.setFk(3);
    record.setSyncState(SyncState::Foreign);
    ASSERT_TRUE(Table::save(*this->db, record, SyncState::Changed));
    EXPECT_EQ(this->stored(1), this->expected(1, 0, SyncState::Foreign));
    // Meters only ever update a key, so then nothing is stored.
    record = this->filled(3);
    record.setPk(40);
    ASSERT_TRUE(Table::save(*this->db, record, SyncState::Changed));
    EXPECT_EQ(this->stored(40),
              TypeParam::insertsUnderPk ? this->expected(40, 3, SyncState::Changed) : "none");
}

TYPED_TEST(TableContract, RemovalMarksRowsTheHandheldKnowsAndDeletesTheRest) {
    if constexpr (TypeParam::removal == Removal::None) {
        GTEST_SKIP() << "no removal";
    } else {
        using Table = typename TestFixture::Table;
        const std::string table = TypeParam::table();
        const bool rule = TypeParam::removal == Removal::Rule;
        for (auto [fk, state, marked] : {std::tuple{0, 10, false},
                                         {5, 10, rule},
                                         {5, 20, rule},
                                         {5, 30, false},
                                         {5, 99, false}}) {
            auto record = this->filled(0);
            ASSERT_TRUE(Table::save(*this->db, record));
            const int pk = record.getPk();
            ASSERT_TRUE(this->db->exec(("update " + table + " set fk=%ld, sync_state=%ld").c_str(),
                                       long(fk), long(state)));
            EXPECT_TRUE(this->remove(pk));
            EXPECT_EQ(this->rows(("select FK, SYNC_STATE from " + table).c_str()),
                      marked ? Rows{"5|30"} : Rows{})
                << fk << "/" << state;
            // A marked row is still read by its key, but no longer listed.
            EXPECT_EQ(Table::getByPk(*this->db, pk) != nullptr, marked);
            if constexpr (Lists<Table>) {
                auto listed = Table::selectAll(*this->db, 0, true);
                EXPECT_TRUE(listed && !listed->step());
            }
            ASSERT_TRUE(this->db->exec(("delete from " + table).c_str()));
        }
    }
}

// Every statement the tables build, with fixed arguments, against the list kept in
// tests/data: a changed text shows here as the line that differs.
TEST_F(DatabaseTest, StatementsAreThoseOfTheGoldenList) {
    OldLayouts::createTables(*db);
    takeStatements();
    QStringList made = formatsOf(AllTables{});

    // The special operations, as built with these arguments.
    SampleDateTable::getByDate(*db, "20070315083000");
    SampleDateTable::selectUnsummarized(*db);
    SampleDateTable::markAllUnsummarized(*db);
    SampleDateTable::getSummarizableCnt(*db);
    SampleDateTable::selectBefore(*db, "20070315");
    SampleDateTable::getTruncatableCnt(*db, "20070315");
    SampleTable::selectByDay(*db, 1, true);
    SampleTable::selectByDay(*db, 1, false);
    SampleTable::selectByDayAndType(*db, 1, 2, true);
    SampleTable::selectByType(*db, 2, true);
    SampleTable::selectByType(*db, 2, false);
    SampleTable::selectInsulinSince(*db, "20070315060000");
    SampleTable::getBySampleTime(*db, "20070315060000");
    SampleTable::setDeliveryCodeAll(*db, 0);
    SampleTable::selectAll(*db, 5, false);
    NoteTable::deleteOrphans(*db);
    MedicationTable::getByCode(*db, "M");
    MedicationTable::getOrCreateByDesc(*db, "Lantus 'SoloStar'");
    ProtocolTable::getByDate(*db, "20070301");
    ProtocolTable::getLatestBefore(*db, "20070315");
    BasilRateTable::getByStartTime(*db, "06:30");
    QbRatioTable::findInForce(*db, "05:00");
    QbRatioTable::findByTime(*db, "06:00");
    QbSensitivityTable::findInForce(*db, "05:00");
    QbSensitivityTable::findByTime(*db, "06:00");
    QbTargetTable::findInForce(*db, "05:00");
    QbTargetTable::findByTime(*db, "06:00");
    for (const std::string& statement : takeStatements())
        made << QString::fromStdString(statement);

    OldLayouts::expectGolden(made, "storage_statements.txt");
}
