#include "logbook/widgets/CQuillmarchView.h"
#include "LogbookFixture.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/EntryMenu.h"
#include "logbook/widgets/SampleDatePropertySheet.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDeleteQuestion.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>

using namespace ViewCommand;

namespace {

class ViewTest : public LogbookContextTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        addSlot("0700", "Breakfast");
        addSlot("1130", "Lunch");
        openContext("20070315120000");
        view = std::make_unique<CQuillmarchView>(*context, progress, question);
        view->resize(900, 500);
        view->setFilterSource([this] { return filter; });
    }
    void TearDown() override {
        view.reset();
        DatabaseTest::TearDown();
    }

    int addEntry(const QString& time, int glucose, int slot = 1) {
        return LogbookTest::addEntry(time, glucose,
                                     [slot](Sample& entry) { entry.setSampleTypePk(slot); });
    }
    void select(std::initializer_list<int> positions) { selectRows(*view->list(), positions); }
    std::vector<LogRow> listed() const { return view->list()->model()->rows(); }

    int filter = LogFilter::AllTypes;
    ScriptedDeleteQuestion question;
    RecordingProgress progress;
    std::unique_ptr<CQuillmarchView> view;
};

} // namespace

TEST_F(ViewTest, ReloadFollowsTheFilterAndKeepsTheSelection) {
    int d1 = addDay("20070314");
    int d2 = addDay("20070315");
    int a = addEntry("20070314080000", 100, 1);
    int b = addEntry("20070315120000", 110, 2);
    int c = addEntry("20070315070000", 110, 1);
    int gone = addEntry("20070315090000", 110, 1);
    ASSERT_TRUE(db->exec("update SAMPLE set SYNC_STATE = 30 where PK = %ld", long(gone)));
    ASSERT_TRUE(db->exec("update SAMPLE_DATE set SYNC_STATE = 30 where PK = %ld",
                         long(addDay("20070313"))));
    view->reload();
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'D', d2}, {'S', b}, {'S', c}, {'D', d1}, {'S', a}}));
    select({4});
    // A new day appears above: the same entry stays selected at its new position.
    int d3 = addDay("20070316");
    view->reload();
    ASSERT_EQ(listed().front(), (LogRow{'D', d3}));
    ASSERT_EQ(view->list()->selection().rows, (std::vector<LogRow>{{'S', a}}));
    filter = LogFilter::DailySummary;
    view->reload();
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'D', d3}, {'D', d2}, {'D', d1}}));
    filter = 1; // one slot: its entries newest first across the days
    view->reload();
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'S', c}, {'S', a}}));
    EXPECT_EQ(view->filter(), 1);
}

// New, Modify and Remove through the view: the editor gets the preset time, a stored entry is
// selected, a reload follows only when rows come, go or move.
TEST_F(ViewTest, NewModifyAndRemoveKeepTheListInStep) {
    int day = addDay("20070315");
    int early = addEntry("20070315070000", 100);
    view->reload();
    int reloads = 0;
    QObject::connect(view->list(), &SampleListCtrl::rowsReloaded, [&] { ++reloads; });
    QString preset;
    QString moveTo;
    view->setEntryEditor([&](Sample& entry) {
        preset = entry.getSampleTime();
        if (!moveTo.isEmpty())
            entry.setSampleTime(moveTo);
        SampleTable::saveWithDay(*db, entry, SyncState::Changed);
        return entry.getPk();
    });
    EXPECT_TRUE(view->runCommand(NewEntry));
    EXPECT_EQ(preset, "20070315120000"); // the clock's now
    const int noon = SampleTable::getBySampleTime(*db, preset)->getPk();
    EXPECT_EQ(view->list()->selection().rows, (std::vector<LogRow>{{'S', noon}}));
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(view->runCommand(ModifyEntry)); // unchanged time: repainted only
    EXPECT_EQ(reloads, 1);
    moveTo = "20070315060000";
    EXPECT_TRUE(view->runCommand(ModifyEntry));
    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'D', day}, {'S', early}, {'S', noon}}));
    select({0});
    view->setEntryEditor([&](Sample& entry) {
        preset = entry.getSampleTime();
        return 0;
    });
    EXPECT_TRUE(view->runCommand(NewEntryHere));
    EXPECT_EQ(preset, "20070315000000"); // a day row's context menu: that day at midnight

    select({2, 1});
    question.answers = {{false, true}};
    EXPECT_TRUE(view->runCommand(RemoveEntry));
    EXPECT_EQ(SampleTable::getCount(*db), 2);
    question.answers = {{true, true}};
    EXPECT_TRUE(view->runCommand(RemoveEntry));
    EXPECT_EQ(listed(), (std::vector<LogRow>{{'D', day}}));
    EXPECT_EQ(SampleDateTable::getByPk(*db, day)->getTtlSampleCnt(), 0);
    EXPECT_EQ(reloads, 2);
    select({0});
    question.answers = {{true, true}};
    EXPECT_TRUE(view->runCommand(RemoveEntry));
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(reloads, 3);
}

// Entries the day dialog stored are listed once it closes, even when it closes without OK.
TEST_F(ViewTest, TheListIsReadAgainWhenTheDayDialogCloses) {
    addDay("20070315");
    view->reload();
    view->setDayEditor([&](int) { return addEntry("20070315080000", 90) == 0; });
    select({0});
    EXPECT_TRUE(view->runCommand(ModifyEntry));
    EXPECT_EQ(listed().size(), 2u);
}

// The context menus as text, one line per item: a submenu's items indented under it,
// "(off)" for a disabled item, "[x]" for a check mark.
static void describe(const QMenu& menu, QStringList& lines, const QString& indent = {}) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            lines << indent + "----";
            continue;
        }
        lines << indent + (action->isChecked() ? "[x] " : "") + action->text() +
                     (action->isEnabled() ? "" : " (off)");
        if (action->menu())
            describe(*action->menu(), lines, indent + "    ");
    }
}

// Contents, order, enabling and check marks of both menus, in the view and on the day
// dialog's entries page (which shares the view's commands and rules), against a golden file.
TEST_F(ViewTest, ContextMenusMatchTheGoldenFile) {
    int day = addDay("20070315", [](SampleDate& d) { d.setDayTypeId(DayType::Active); });
    int entry = addEntry("20070315070000", 100, 2);
    ASSERT_TRUE(db->exec("update SAMPLE set KEYTONE_CODE = 3, DELIVERY_CODE = 0, "
                         "NEW_SITE_BOL = 'T' where PK = %ld",
                         long(entry)));
    addEntry("20070315080000", 100);
    view->reload(); // D, 08:00, 07:00
    QStringList lines;
    auto menuFor = [&](const char* title, LogCommands& commands) {
        lines << QString("# ") + title;
        QMenu menu;
        EntryMenu::fill(menu, commands);
        describe(menu, lines);
    };
    select({2});
    menuFor("entry row in the view", view->commands());
    select({0});
    menuFor("day row in the view", view->commands());
    select({1, 2});
    menuFor("two rows in the view", view->commands());
    SampleDatePropertySheet sheet(*context, day, {}, question);
    selectRows(*sheet.entriesPage()->list(), {0});
    menuFor("entry row on the day's page", sheet.entriesPage()->commands());

    QFile golden(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/logbook/context_menus.txt");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text))
        << golden.fileName().toStdString();
    EXPECT_EQ(lines.join('\n') + '\n', QString::fromUtf8(golden.readAll()));
}

TEST_F(ViewTest, CommandsActOnTheSelection) {
    addDay("20070315");
    int entry = addEntry("20070315070000", 100);
    addEntry("20070315080000", 100);
    view->reload(); // D, 08:00, 07:00
    EXPECT_FALSE(view->isCommandEnabled(ModifyEntry));
    EXPECT_FALSE(view->isCommandEnabled(RemoveEntry));
    EXPECT_TRUE(view->isCommandEnabled(NewEntryHere));
    select({1, 2});
    EXPECT_TRUE(view->isCommandEnabled(ModifyEntry));
    EXPECT_FALSE(view->runCommand(DeliveryOral)); // not for two rows
    select({2});
    for (int id : {int(InfusionSite), KetonesFirst + 3, LogTypeFirst + 1, int(DeliveryOral)})
        EXPECT_TRUE(view->runCommand(id)) << id;
    // Stored as changed; the site change summarizes the day again, the ketones do not.
    EXPECT_EQ(
        rows(("select NEW_SITE_BOL, KEYTONE_CODE, SAMPLE_TYPE_PK, DELIVERY_CODE, SYNC_STATE from "
              "SAMPLE where PK = " +
              std::to_string(entry))
                 .c_str()),
        std::vector<std::string>{"T|3|2|2|20"});
    select({0});
    EXPECT_FALSE(view->runCommand(KetonesLast)); // an entry's edit, not for a day
    EXPECT_TRUE(view->runCommand(DaySick));
    EXPECT_EQ(
        rows("select DAY_TYPE_ID, NEW_SITE_BOL, MAX_KEYTONE_CODE, SYNC_STATE from SAMPLE_DATE"),
        std::vector<std::string>{"0|T|0|20"});

    // Delete released in the list removes the selection.
    context->preference().setAskDeleteBol(false);
    select({1});
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(view->list(), &release);
    EXPECT_EQ(SampleTable::getCount(*db), 1);
}

TEST_F(ViewTest, FirstShowRunsTheSummarizeCommandThenReloads) {
    addDay("20070314");
    addDay("20070315");
    SampleDateTable::markAllUnsummarized(*db);
    view->show();
    QCoreApplication::processEvents(); // the posted summarize command
    QCoreApplication::processEvents(); // the reload it posts
    EXPECT_EQ(progress.topics, QStringList{"Summarizing LogBook...Please Wait!"});
    EXPECT_EQ(progress.steps(), 2);
    EXPECT_EQ(listed().size(), 2u);
    // "Summarize All Records": every day once more, then a reload.
    EXPECT_TRUE(view->runCommand(SummarizeAll));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(progress.steps(), 4);
}

TEST_F(ViewTest, FirstShowPaintsTheNewestScreenThenBringsInTheRestAndClearsOrphanNotes) {
    const int days = view->list()->rowsPerScreen() + 5;
    for (int day = 0; day < days; ++day)
        addDay(QDate(2007, 1, 1).addDays(day).toString("yyyyMMdd"));
    addNote("nobody points here");
    const std::vector<LogRow> all = buildLogRows(*db, LogFilter::AllTypes);
    view->show();
    QCoreApplication::processEvents(); // the posted summarize command
    QCoreApplication::processEvents(); // the first screen
    const std::vector<LogRow> first = listed();
    ASSERT_LT(first.size(), all.size());
    EXPECT_GE(first.size() * view->list()->rowHeightForFont(), view->list()->viewport()->height());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), all.begin()));
    QCoreApplication::processEvents(); // the rest, after the paint
    EXPECT_EQ(listed(), all);
    EXPECT_EQ(rows("select count(*) from NOTE"), std::vector<std::string>{"0"});
}
