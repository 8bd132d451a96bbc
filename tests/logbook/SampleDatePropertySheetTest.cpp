#include "logbook/widgets/SampleDatePropertySheet.h"
#include "LogbookFixture.h"
#include "logbook/DaySummary.h"
#include "logbook/NoteText.h"
#include "support/ScriptedDeleteQuestion.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class DaySheetTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
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
        entry.setGlucoseCnt(120);
        SampleTable::saveWithDay(*db, entry, entry.getPk() < 1 ? 10 : 20);
        summarizeDayOf(*db, entry.getSampleTime(), true, context->medicationLookup());
        return entry.getPk();
    }
    void open(int dayPk) {
        sheet = std::make_unique<SampleDatePropertySheet>(
            *context, dayPk, [this](Sample& entry) { return storeEntry(entry); }, question);
        sheet->resize(420, 400);
        sheet->show();
    }
    SampleDateDlg& date() { return *sheet->datePage(); }
    SampleDateSamplePage& entries() { return *sheet->entriesPage(); }

    ScriptedDeleteQuestion question;
    std::vector<QString> presets;
    std::unique_ptr<SampleDatePropertySheet> sheet;
};

} // namespace

// The wiring of both pages: what the "Date" page shows and stores, the entries page's New and
// Remove buttons, and a full note on five lines typed into the edit coming back whole.
TEST_F(DaySheetTest, PagesShowTheDayAndOkStoresWhatWasTyped) {
    int pk = addDay("20070315", [](SampleDate& day) {
        day.setDayTypeId(2);
        day.setTtlInsulinAmt(1250);
        day.setAvgGlucoseCnt(60); // low: a red frame around the base colour
        day.setMaxKeytoneCode(3);
    });
    int early = addEntry("20070315070000", 100);
    open(pk);
    EXPECT_EQ(sheet->windowTitle(), "Thursday March 15 2007");
    EXPECT_EQ(date().dayTypeBox()->currentText(), "Active");
    EXPECT_FALSE(date().dayTypeImage()->pixmap().isNull());
    EXPECT_EQ(date().ketoneText()->text(), "Medium");
    EXPECT_FALSE(date().ketoneImage()->pixmap().isNull());
    EXPECT_EQ(date().medicationText()->text(), "12.50");
    const QImage box = date().averageBox()->grab().toImage();
    EXPECT_EQ(box.pixelColor(1, box.height() / 2), QColor(255, 0, 0));
    EXPECT_EQ(box.pixelColor(3, 3), date().palette().color(QPalette::Base));
    date().dayTypeBox()->setCurrentIndex(1);
    EXPECT_TRUE(date().dayTypeImage()->pixmap().isNull());
    date().dayTypeBox()->setCurrentIndex(0);

    entries().newButton()->click();
    EXPECT_EQ(presets, std::vector<QString>{"20070315000000"});
    const std::vector<LogRow> listed = entries().list()->model()->rows();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed.back(), (LogRow{'S', early}));
    selectRows(*entries().list(), {1});
    question.answers = {{true, true}};
    entries().removeButton()->click();
    EXPECT_EQ(entries().list()->model()->rows().size(), 1u);

    QStringList lines(4, QString(50, u'a'));
    lines << QString(52, u'e');
    date().notesEdit()->setPlainText(lines.join(u'\n'));
    const QString shown = date().notesEdit()->toPlainText();
    EXPECT_EQ(NoteText::storedLength(shown), DayForm::kNoteLimit);
    sheet->accept();
    EXPECT_EQ(rows("select DAY_TYPE_ID, TTL_SAMPLE_CNT, AVG_GLUCOSE_CNT from SAMPLE_DATE"),
              std::vector<std::string>{"0|1|120"});
    auto note = NoteTable::getByPk(*db, SampleDateTable::getByPk(*db, pk)->getNotePk());
    ASSERT_TRUE(note);
    EXPECT_EQ(NoteText::forEditing(note->getText()), shown);
}
