#include "logbook/widgets/SampleDatePropertySheet.h"
#include "LogbookFixture.h"
#include "logbook/DaySummary.h"
#include "logbook/ViewCommands.h"
#include "support/ScriptedDeleteQuestion.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace ViewCommand;

namespace {

bool sameImage(const QPixmap& shown, const QString& path) {
    return !shown.isNull() && shown.toImage() == QPixmap(path).toImage();
}

class DaySheetTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        addSlot("1130", "Lunch");
        changePreference(useStandardRange);
        openContext();
    }
    void TearDown() override {
        sheet.reset();
        DatabaseTest::TearDown();
    }

    // An editor that stores what it is given, as the entry dialog does, and summarizes.
    int storeEntry(Sample& entry) {
        presets.push_back(entry.getSampleTime());
        if (cancelEditor)
            return 0;
        if (!SampleTable::saveWithDay(*db, entry, entry.getPk() < 1 ? 10 : 20))
            return 0;
        summarizeDayOf(*db, entry.getSampleTime(), true, context->medicationLookup());
        return entry.getPk();
    }
    void open(int dayPk) {
        sheet = std::make_unique<SampleDatePropertySheet>(
            *context, dayPk, [this](Sample& entry) { return storeEntry(entry); }, question);
    }
    SampleDateDlg& date() { return *sheet->datePage(); }
    SampleDateSamplePage& entries() { return *sheet->entriesPage(); }
    std::vector<LogRow> listed() { return entries().list()->model()->rows(); }
    void select(std::initializer_list<int> positions) { selectRows(*entries().list(), positions); }
    int entryOn(const QString& time, int glucose) {
        int pk = addEntry(time, glucose);
        summarizeDayOf(*db, time, true, context->medicationLookup());
        return pk;
    }

    ScriptedDeleteQuestion question;
    bool cancelEditor = false;
    std::vector<QString> presets;
    std::unique_ptr<SampleDatePropertySheet> sheet;
};

} // namespace

// ---- "Date" page -----------------------------------------------------------------------

TEST_F(DaySheetTest, DatePageShowsTheDayAndTheKindFollowsTheChoice) {
    int pk = addDay("20070315", [](SampleDate& day) {
        day.setDayTypeId(2);
        day.setTtlInsulinAmt(1250);
        day.setTtlCarbCnt(80);
    });
    open(pk);
    EXPECT_EQ(sheet->windowTitle(), "Thursday March 15 2007");
    EXPECT_EQ(date().dayTypeBox()->currentText(), "Active");
    EXPECT_TRUE(sameImage(date().dayTypeImage()->pixmap(), ":/icons/dayActive.png"));
    EXPECT_EQ(date().ketoneText()->text(), "N/A");
    EXPECT_TRUE(date().ketoneImage()->pixmap().isNull());
    EXPECT_EQ(date().medicationText()->text(), "12.50");
    EXPECT_EQ(date().carbsText()->text(), "80");

    date().dayTypeBox()->setCurrentIndex(0);
    EXPECT_TRUE(sameImage(date().dayTypeImage()->pixmap(), ":/icons/daySick.png"));
    EXPECT_TRUE(sheet->applyButton()->isEnabled());
    date().dayTypeBox()->setCurrentIndex(1);
    EXPECT_TRUE(date().dayTypeImage()->pixmap().isNull());
}

TEST_F(DaySheetTest, AverageBoxIsColouredByTheClass) {
    struct Case {
        int average;
        QColor frame;  // the box's edge
        QColor inside; // just within the frame
    };
    const QColor red(255, 0, 0), blue(0, 0, 255);
    const QColor base = QApplication::palette().color(QPalette::Base);
    int day = 10;
    for (const Case& c : {Case{60, red, base}, Case{45, red, red}, Case{200, blue, base},
                          Case{300, blue, blue}, Case{100, base, base}}) {
        SCOPED_TRACE(c.average);
        int pk = addDay(QString::asprintf("200703%d", day++),
                        [&c](SampleDate& day) { day.setAvgGlucoseCnt(c.average); });
        open(pk);
        AverageGlucoseBox* box = date().averageBox();
        box->resize(80, 30);
        QImage image(box->size(), QImage::Format_ARGB32);
        image.fill(Qt::green);
        box->render(&image);
        EXPECT_EQ(QColor(image.pixel(0, 0)), c.frame);
        EXPECT_EQ(QColor(image.pixel(1, 15)), c.frame);
        EXPECT_EQ(QColor(image.pixel(3, 15)), c.inside);
    }
}

TEST_F(DaySheetTest, OkStoresKindAndNoteWithTheEditsWrapPoints) {
    int pk = addDay("20070315");
    open(pk);
    sheet->resize(420, 400);
    sheet->show();
    const QString typed = QString("Felt dizzy after lunch ").repeated(8).trimmed();
    date().notesEdit()->setPlainText(typed);
    date().dayTypeBox()->setCurrentIndex(2);
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    auto day = SampleDateTable::getByPk(*db, pk);
    EXPECT_EQ(day->getDayTypeId(), 2);
    auto note = NoteTable::getByPk(*db, day->getNotePk());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->getNoteType(), NoteType::Day);
    EXPECT_EQ(note->getOwnerPk(), pk);
    EXPECT_TRUE(note->getText().contains("\r\r\n")) << note->getText().toStdString();
    EXPECT_EQ(DayForm::noteForEditing(note->getText()), typed);
}

TEST_F(DaySheetTest, NotesTakeAtMostTheirLimit) {
    open(addDay("20070315"));
    date().notesEdit()->setPlainText(QString(300, 'x'));
    EXPECT_EQ(date().notesEdit()->toPlainText().size(), DayForm::kNoteLimit);
}

TEST_F(DaySheetTest, CancelStoresNothing) {
    int pk = addDay("20070315", [](SampleDate& day) { day.setDayTypeId(1); });
    open(pk);
    date().notesEdit()->setPlainText("not kept");
    date().dayTypeBox()->setCurrentIndex(0);
    takeStatements();
    sheet->reject();
    for (const std::string& sql : takeStatements())
        EXPECT_FALSE(isWrite(sql)) << sql;
    EXPECT_EQ(rows("select DAY_TYPE_ID, NOTE_PK from SAMPLE_DATE"),
              std::vector<std::string>{"1|0"});
    EXPECT_EQ(rows("select count(*) from NOTE"), std::vector<std::string>{"0"});
}

// ---- "Log Entries" page ----------------------------------------------------------------

TEST_F(DaySheetTest, EntriesPageListsTheDaysLiveEntriesEarliestFirst) {
    addDay("20070314");
    int pk = addDay("20070315");
    int evening = addEntry("20070315200000", 100);
    int morning = addEntry("20070315070000", 110);
    int noon = addEntry("20070315120000", 120);
    addEntry("20070314090000", 130);
    int gone = addEntry("20070315090000", 140, [](Sample& e) { e.setFk(3); });
    ASSERT_TRUE(SampleTable::removeByPk(*db, gone)); // known to the handheld: state 30
    open(pk);
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'S', morning}, {'S', noon}, {'S', evening}}));
    EXPECT_TRUE(entries().list()->compact());
    EXPECT_TRUE(entries().list()->isColumnHidden(3));
}

TEST_F(DaySheetTest, RemoveAsksThenRemovesTheSelectionAndSummarizesTheDay) {
    int pk = addDay("20070315");
    int a = entryOn("20070315070000", 100);
    int b = entryOn("20070315120000", 200);
    int c = entryOn("20070315200000", 300);
    open(pk);
    select({0, 2});
    EXPECT_FALSE(entries().runCommand(ModifyEntry)); // two rows: nothing to modify

    question.answers = {{false, true}};
    entries().removeButton()->click();
    EXPECT_EQ(SampleTable::getCount(*db), 3);

    question.answers = {{true, true}};
    entries().removeButton()->click();
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'S', b}}));
    EXPECT_EQ(SampleTable::getByPk(*db, a), nullptr);
    EXPECT_EQ(SampleTable::getByPk(*db, c), nullptr);
    EXPECT_EQ(rows("select TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT from SAMPLE_DATE"),
              std::vector<std::string>{"1|200"});
    EXPECT_EQ(question.asked, 2);

    // Without the question the selection goes at once; OK afterwards keeps the new totals.
    context->preference().setAskDeleteBol(false);
    select({0});
    EXPECT_TRUE(entries().runCommand(RemoveEntry));
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(question.asked, 2);
    date().notesEdit()->setPlainText("quiet day");
    sheet->accept();
    EXPECT_EQ(rows("select TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT from SAMPLE_DATE"),
              std::vector<std::string>{"0|0"});
    EXPECT_EQ(rows("select TEXT from NOTE"), std::vector<std::string>{"quiet day"});
}

TEST_F(DaySheetTest, NewPresetsMidnightOfTheDayAndListsTheStoredEntry) {
    int pk = addDay("20070315");
    int existing = entryOn("20070315070000", 100);
    open(pk);
    select({0});
    entries().newButton()->click();
    ASSERT_EQ(presets, std::vector<QString>{"20070315000000"});
    ASSERT_EQ(listed().size(), 2u);
    const LogRow stored = listed().front(); // midnight is earliest
    EXPECT_NE(stored.pk, existing);
    EXPECT_EQ(entries().list()->selectedLogRows(), std::vector<LogRow>{stored});
    EXPECT_EQ(SampleDateTable::getByPk(*db, pk)->getTtlSampleCnt(), 2);

    // A cancelled editor leaves the list and the day as they were.
    cancelEditor = true;
    entries().runCommand(NewEntryHere);
    EXPECT_EQ(presets.size(), 2u);
    EXPECT_EQ(listed().size(), 2u);
    EXPECT_EQ(SampleTable::getCount(*db), 2);
}

TEST_F(DaySheetTest, ModifyAndQuickEditsActOnTheSelectedEntry) {
    int pk = addDay("20070315");
    entryOn("20070315070000", 100);
    int late = entryOn("20070315200000", 150);
    open(pk);
    select({1});
    EXPECT_TRUE(entries().runCommand(ModifyEntry));
    ASSERT_EQ(presets, std::vector<QString>{"20070315200000"});
    EXPECT_TRUE(entries().runCommand(KetonesLast));
    EXPECT_EQ(SampleTable::getByPk(*db, late)->getKeytoneCode(), 4);
    EXPECT_TRUE(entries().runCommand(LogTypeFirst + 1));
    EXPECT_EQ(SampleTable::getByPk(*db, late)->getSampleTypePk(), 2);

    // A selected row whose entry is gone is skipped.
    ASSERT_TRUE(SampleTable::removeByPk(*db, late));
    select({1});
    entries().runCommand(ModifyEntry);
    EXPECT_EQ(presets.size(), 1u);
}

TEST_F(DaySheetTest, EditDayAnswersWhetherClosedWithOk) {
    int pk = addDay("20070315");
    auto closeWith = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ok ? dialog->accept() : dialog->reject();
        });
    };
    closeWith(true);
    EXPECT_TRUE(editDay(*context, pk, {}, question, nullptr));
    closeWith(false);
    EXPECT_FALSE(editDay(*context, pk, {}, question, nullptr));
    EXPECT_FALSE(editDay(*context, pk + 1, {}, question, nullptr)); // no day, no dialog
}
