#include "logbook/DayForm.h"
#include "LogbookFixture.h"
#include "logbook/DaySummary.h"
#include "logbook/NoteText.h"
#include "logbook/SampleForm.h"

namespace {

class DayFormTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        changePreference(useStandardRange);
        openContext();
    }
    std::unique_ptr<DayForm> load(int pk) {
        auto form = std::make_unique<DayForm>(*context, pk);
        EXPECT_TRUE(form->load());
        return form;
    }
    std::vector<std::string> notes() {
        return rows("select NOTE_TYPE, OWNER_PK, TEXT, SYNC_STATE from NOTE");
    }
};

// A typed note as the edit lays it out: each paragraph cut into lines of `width` characters.
std::vector<QStringList> wrapped(const QString& typed, int width) {
    std::vector<QStringList> paragraphs;
    for (const QString& paragraph : typed.split(u'\n')) {
        QStringList lines;
        for (qsizetype at = 0; at < paragraph.size(); at += width)
            lines << paragraph.mid(at, width);
        paragraphs.push_back(lines.isEmpty() ? QStringList{QString()} : lines);
    }
    return paragraphs;
}

} // namespace

TEST_F(DayFormTest, ShowsTheTotalsOfTheDay) {
    auto shown = [this](int pk) {
        auto form = load(pk);
        return (QStringList{form->averageGlucoseText(), form->maxKetoneText(),
                            form->totalCarbsText(), form->totalMedicationText()}
                    .join('|'));
    };
    EXPECT_EQ(shown(addDay("20070315",
                           [](SampleDate& day) {
                               day.setAvgGlucoseCnt(60);
                               day.setMaxKeytoneCode(4);
                               day.setTtlCarbCnt(145);
                               day.setTtlInsulinAmt(5);
                           })),
              "60|Large|145|0.05");
    EXPECT_EQ(shown(addDay("20070316")), "|N/A|0|0.00");
    EXPECT_FALSE(DayForm(*context, 42).load());
}

TEST_F(DayFormTest, NoteIsCreatedChangedInPlaceAndRemovedWhenEmptied) {
    int pk = addDay("20070315");
    auto form = load(pk);
    form->setNoteText("Felt dizzy");
    ASSERT_TRUE(form->apply());
    const int note = SampleDateTable::getByPk(*db, pk)->getNotePk();
    EXPECT_EQ(notes(), std::vector<std::string>{"1|" + std::to_string(pk) + "|Felt dizzy|10"});

    auto again = load(pk);
    EXPECT_EQ(again->noteText(), "Felt dizzy");
    again->setNoteText("Felt better");
    ASSERT_TRUE(again->apply());
    EXPECT_EQ(notes(), std::vector<std::string>{"1|" + std::to_string(pk) + "|Felt better|20"});
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getNotePk(), note);

    again->setNoteText("");
    ASSERT_TRUE(again->apply());
    EXPECT_TRUE(notes().empty());
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getNotePk(), 0);
}

TEST_F(DayFormTest, KindOfDayIsStoredOnTheDayAsItIsNow) {
    int pk = addDay("20070315");
    addEntry("20070315080000", 100);
    auto form = load(pk);
    // Meanwhile the entries page adds an entry and summarizes the day.
    addEntry("20070315120000", 200);
    ASSERT_TRUE(summarizeDayOf(*db, "20070315", true, context->medicationLookup()));
    form->setDayType(DayType::Sick);
    ASSERT_TRUE(form->apply());
    EXPECT_EQ(rows("select DAY_TYPE_ID, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT, NOTE_PK, SYNC_STATE "
                   "from SAMPLE_DATE"),
              std::vector<std::string>{"0|2|150|0|20"});
}

// Notes of both dialogs around the column's 256 characters: what the edit keeps is stored
// whole and comes back exactly, wrap marks are kept whenever they fit.
TEST_F(DayFormTest, NotesAreNeverCutOnTheWayIn) {
    struct Case {
        QString typed;
        int width; // where the edit wraps
        int limit; // the dialog's typing limit
        bool marked;
    };
    const QString x = QStringLiteral("x");
    const QString five =
        QStringList{x.repeated(50), x.repeated(50), x.repeated(50), x.repeated(50), x.repeated(52)}
            .join(u'\n');
    const Case cases[] = {
        {five, 80, DayForm::kNoteLimit, false}, // 256 typed as one break each
        {five, 40, DayForm::kNoteLimit, false}, // and wrapped as well
        {x.repeated(256), 60, DayForm::kNoteLimit, false},
        {x.repeated(240), 60, DayForm::kNoteLimit, true}, // 3 marks, 249 stored
        {x.repeated(250), 60, DayForm::kNoteLimit, false},
        {x.repeated(200) + "\n\n" + x.repeated(60), 50, DayForm::kNoteLimit, false},
        {x.repeated(100) + "\n" + x.repeated(100), 30, DayForm::kNoteLimit, true},
        {x.repeated(254) + "\ny", 300, SampleForm::kNotesLength, false},
        {QString(300, u'\n'), 10, SampleForm::kNotesLength, false},
        {x.repeated(250) + QString::fromUtf8("\xF0\x9F\x8D\x95").repeated(10), 300,
         DayForm::kNoteLimit, false},
    };
    int pk = addDay("20070315");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.left(60).toStdString() + " width " + std::to_string(c.width));
        const QString kept = NoteText::fit(c.typed, c.limit);
        EXPECT_LE(NoteText::storedLength(kept), c.limit);
        if (kept != c.typed) {
            EXPECT_TRUE(c.typed.startsWith(kept));
            EXPECT_GE(NoteText::storedLength(kept), c.limit - 1);
        }
        const QString stored = NoteText::fromLines(wrapped(kept, c.width));
        EXPECT_EQ(stored.contains("\r\r\n"), c.marked);
        auto form = load(pk);
        form->setNoteText(stored);
        ASSERT_TRUE(form->apply());
        const QString back = load(pk)->noteText();
        EXPECT_EQ(back, stored);
        EXPECT_EQ(NoteText::forEditing(back), kept);
    }
    EXPECT_EQ(NoteText::fromLines({{"Ate ", "late"}, {""}, {"ok"}}), "Ate \r\r\nlate\r\n\r\nok");
    EXPECT_EQ(NoteText::forEditing("a\r\r\nb\r\nc\rd"), "ab\nc\nd");
}
