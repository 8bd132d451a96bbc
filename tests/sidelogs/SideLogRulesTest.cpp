#include "SideLogTest.h"
#include "sidelogs/A1cForm.h"
#include "sidelogs/A1cLog.h"
#include "sidelogs/FoodForm.h"
#include "sidelogs/FoodLog.h"
#include "sidelogs/VitalsForm.h"
#include "sidelogs/VitalsLog.h"

#include <cstring>
#include <functional>

namespace {

// What validate() makes of a form: "" when it may be stored, otherwise the message and the
// position of the field that takes the focus.
template <class Form> std::string refusalOf(const Form& form) {
    const auto refusal = form.validate();
    if (!refusal)
        return {};
    return refusal->text.toStdString() + " @" + std::to_string(static_cast<int>(refusal->field));
}

template <class Form> using Change = std::function<void(Form&)>;

using Check = std::function<std::string(LogbookContext&)>;
template <class Form> Check checkOf(Change<Form> change) {
    return [change](LogbookContext& context) {
        Form form(context);
        change(form);
        return refusalOf(form);
    };
}

const std::string kSystolicRange = "Please enter an integer between 50 and 300. @0";
const std::string kDiastolicRange = "Please enter an integer between 40 and 200. @1";
const std::string kPulseRange = "Please enter an integer between 0 and 300. @2";
const std::string kCarbsRange = "Please enter an integer between 0 and 300. @1";

} // namespace

TEST_F(SideLogTest, NewItemsStartFromTheirDefaults) {
    A1cForm a1c(*context);
    EXPECT_EQ(a1c.date(), QDate(2007, 3, 15));
    EXPECT_EQ(a1c.count(), "0.0");
    FoodForm food(*context);
    EXPECT_EQ(QStringList({food.name(), food.carbs()}), QStringList({"", "0"}));
    VitalsForm vitals(*context);
    EXPECT_EQ(vitals.date(), QDate(2007, 3, 15));
    EXPECT_EQ(vitals.time(), QTime(8, 30, 20));
    EXPECT_EQ(QStringList({vitals.systolic(), vitals.diastolic(), vitals.pulse(), vitals.weight(),
                           vitals.notes()}),
              QStringList({"125", "85", "0", "", ""}));
}

TEST_F(SideLogTest, FieldsOutOfRangeOrTooLongAreRefusedWithTheirMessages) {
    const struct {
        const char* what;
        Check check;
        std::string expected;
    } cases[] = {
        {"systolic lowest", checkOf<VitalsForm>([](auto& f) { f.setSystolic("50"); }), ""},
        {"systolic low", checkOf<VitalsForm>([](auto& f) { f.setSystolic("49"); }), kSystolicRange},
        {"systolic high", checkOf<VitalsForm>([](auto& f) { f.setSystolic("301"); }),
         kSystolicRange},
        {"diastolic low", checkOf<VitalsForm>([](auto& f) { f.setDiastolic("39"); }),
         kDiastolicRange},
        {"diastolic high", checkOf<VitalsForm>([](auto& f) { f.setDiastolic("201"); }),
         kDiastolicRange},
        {"pulse none", checkOf<VitalsForm>([](auto& f) { f.setPulse(""); }), ""},
        {"pulse negative", checkOf<VitalsForm>([](auto& f) { f.setPulse("-1"); }), kPulseRange},
        {"weight five", checkOf<VitalsForm>([](auto& f) { f.setWeight("172.5"); }), ""},
        {"weight six", checkOf<VitalsForm>([](auto& f) { f.setWeight("172.50"); }),
         "Please enter no more than 5 characters. @3"},
        {"notes 256", checkOf<VitalsForm>([](auto& f) { f.setNotes(QString(256, u'n')); }), ""},
        {"notes 257", checkOf<VitalsForm>([](auto& f) { f.setNotes(QString(257, u'n')); }),
         "Please enter no more than 256 characters. @4"},
        {"name 25", checkOf<FoodForm>([](auto& f) { f.setName(QString(25, u'x')); }), ""},
        {"name 26", checkOf<FoodForm>([](auto& f) { f.setName(QString(26, u'x')); }),
         "Please enter no more than 25 characters. @0"},
        {"carbs most", checkOf<FoodForm>([](auto& f) { f.setCarbs("300"); }), ""},
        {"carbs high", checkOf<FoodForm>([](auto& f) { f.setCarbs("301"); }), kCarbsRange},
        {"carbs empty", checkOf<FoodForm>([](auto& f) { f.setCarbs(""); }), kCarbsRange},
        {"count five", checkOf<A1cForm>([](auto& f) { f.setCount("6.55%"); }), ""},
        {"count six", checkOf<A1cForm>([](auto& f) { f.setCount("6.55 %"); }),
         "Please enter no more than 5 characters. @0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.check(*context), c.expected) << c.what;
}

TEST_F(SideLogTest, AnA1cResultIsShownWithItsStoredDateAndUpdatedInPlace) {
    const int pk = addA1c("20061231", "6.5");
    A1cForm opened(*context);
    ASSERT_TRUE(opened.load(pk));
    EXPECT_EQ(opened.date(), QDate(2006, 12, 31));
    opened.setCount("6.4");
    EXPECT_EQ(opened.store(), pk);
    EXPECT_EQ(rows("select pk, a1c_date, a1c_count, sync_state from A1C"),
              Rows{std::to_string(pk) + "|20061231|6.4|20"});
}

TEST_F(SideLogTest, TheTimeOfAVitalRecordComesFromTheDateAndTimePicked) {
    const struct {
        QDate date; // invalid: left alone
        QTime time;
        const char* stored;
    } cases[] = {
        {{}, {}, "20070315083020"},                           // now, to the second
        {QDate(2007, 3, 10), {}, "20070310083020"},           // another day, the time left alone
        {{}, QTime(8, 30), "20070315083020"},                 // the same minute picked again
        {{}, QTime(21, 5), "20070315210500"},                 // another minute: no seconds
        {QDate(1899, 12, 31), QTime(7, 0), "20070315070000"}, // before 1900: the date stays
    };
    for (const auto& c : cases) {
        VitalsForm form(*context);
        form.setDate(c.date);
        if (c.time.isValid())
            form.setTime(c.time);
        const int pk = form.store();
        EXPECT_EQ(
            rows(("select BP_TIME from BLOOD_PRESSURE where PK=" + std::to_string(pk)).c_str()),
            Rows{c.stored})
            << c.stored;
    }
}

TEST_F(SideLogTest, AVitalRecordsNoteIsCreatedChangedOrRemovedWithItsNotes) {
    const struct {
        const char* what;
        int fkOfNote; // the record's note before: -1 none, -2 a key without a note
        QString notes;
        std::string after; // the record's note: type|owned by it|text|state, or none
        Rows before;       // the state of the note it had; nothing when gone
    } cases[] = {
        {"added", -1, "Felt dizzy", "2|1|Felt dizzy|10", {}},
        {"changed", 0, "After", "2|1|After|20", {"20"}},
        {"cleared", 0, "", "none", {}},
        {"cleared, known to the handheld", 5, "", "none", {"30"}},
        {"lost note replaced", -2, "Again", "2|1|Again|10", {}},
    };
    for (const auto& c : cases) {
        BloodPressure record;
        record.setBpTime("20070314200000");
        if (c.fkOfNote != -1)
            record.setNotePk(c.fkOfNote == -2 ? 999
                                              : addNote("Before", NoteType::Vital, 0, c.fkOfNote));
        ASSERT_TRUE(BloodPressureTable::save(*db, record));
        VitalsForm form(*context);
        ASSERT_TRUE(form.load(record.getPk()));
        form.setNotes(c.notes);
        ASSERT_EQ(form.store(), record.getPk());
        const std::string pk = std::to_string(record.getPk());
        EXPECT_EQ(rows(("select coalesce(n.NOTE_TYPE || '|' || (n.OWNER_PK = b.PK) || '|' || "
                        "n.TEXT || '|' || n.SYNC_STATE, 'none') from BLOOD_PRESSURE b left join "
                        "NOTE n on n.PK = b.NOTE_PK where b.PK = " +
                        pk)
                           .c_str()),
                  Rows{c.after})
            << c.what;
        const std::string before = std::to_string(record.getNotePk());
        EXPECT_EQ(rows(("select SYNC_STATE from NOTE where PK = " + before).c_str()), c.before)
            << c.what;
    }
}

TEST_F(SideLogTest, ListsStandNewestFirstAndFoodsInTheOrderOfTheirNames) {
    addA1c("20070101", "7.0");
    addA1c("20070315", "6.5");
    addA1c("20061001", "7.2");
    const int gone = addA1c("20070201", "9.9", 4);
    A1cTable::markDeleted(*db, gone);
    EXPECT_EQ(A1cLog::rows(*db), (std::vector<SideLogRow>{
                                     {2, {"March 15, 2007", "Thursday", "6.5", ""}},
                                     {1, {"January 01, 2007", "Monday", "7.0", ""}},
                                     {3, {"October 01, 2006", "Sunday", "7.2", ""}},
                                 }));

    for (const char* name : {"Rice", "Apple", "Bread"})
        addFood(name, static_cast<int>(std::strlen(name)));
    takeStatements();
    EXPECT_EQ(FoodLog::rows(*db), (std::vector<SideLogRow>{
                                      {2, {"Apple", "5", ""}},
                                      {3, {"Bread", "5", ""}},
                                      {1, {"Rice", "4", ""}},
                                  }));
    // ... although they are read the other way round.
    EXPECT_EQ(takeStatements(),
              std::vector<std::string>{
                  "Select * from CARBS  where sync_state <> 30  order by carb_name desc"});

    addVital("20070314210000", 0, "Late \r\r\nwalk\r\nhome");
    addVital("20070315080000", 72);
    EXPECT_EQ(VitalsLog::rows(*db),
              (std::vector<SideLogRow>{
                  {2, {"Mar 15, 2007 08:00 AM", "120", "80", "72", "", ""}},
                  {1, {"Mar 14, 2007 09:00 PM", "120", "80", "", "", "Late walk home"}},
              }));
}

TEST_F(SideLogTest, RemovalFollowsEachTablesRuleAndAVitalRecordTakesItsNote) {
    const int a1c = addA1c("20070101", "7.0");
    const int knownA1c = addA1c("20070102", "7.1", 8);
    const int food = addFood("Apple", 7, 3);
    const int vital = addVital("20070314210000", 0, "Walk");
    for (bool removed :
         {A1cLog::remove(*db, prompts, a1c), A1cLog::remove(*db, prompts, knownA1c),
          FoodLog::remove(*db, prompts, food), VitalsLog::remove(*db, prompts, vital)})
        EXPECT_TRUE(removed);
    // A1c results stay as deleted rows even when the handheld never knew them.
    EXPECT_EQ(rows("select pk, sync_state from A1C"),
              (Rows{std::to_string(a1c) + "|30", std::to_string(knownA1c) + "|30"}));
    EXPECT_EQ(rows("select pk, sync_state from CARBS"), Rows{std::to_string(food) + "|30"});
    EXPECT_TRUE(rows("select pk from BLOOD_PRESSURE").empty());
    EXPECT_TRUE(rows("select pk from NOTE").empty());
    // A row removed meanwhile removes nothing, quietly.
    EXPECT_FALSE(VitalsLog::remove(*db, prompts, vital));
    EXPECT_FALSE(A1cLog::remove(*db, prompts, a1c));
}
