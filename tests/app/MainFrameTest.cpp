#include "AppTestSupport.h"
#include "app/FramePlacement.h"
#include "app/widgets/CMainFrame.h"
#include "logbook/LogRows.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "support/GoldenFile.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <functional>

namespace {

class MainFrameTest : public OpenPatientTest {
protected:
    void SetUp() override {
        OpenPatientTest::SetUp();
        rebuildFrame();
    }
    void rebuildFrame() {
        frame.reset(); // the frame owns the view
        view = new CQuillmarchView(app, progress, question);
        frame = std::make_unique<CMainFrame>(app, *view);
    }
    QAction* actionNamed(const QString& text) {
        for (QAction* action : frame->findChildren<QAction*>())
            if (action->text() == text)
                return action;
        throw std::runtime_error("no action " + text.toStdString());
    }

    CQuillmarchView* view = nullptr;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST(MainFramePlacement, CentredEightHundredWideBelowTheTop) {
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 1024, 768)), QRect(112, 0, 800, 718));
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 800, 600)), QRect(0, 0, 800, 550));
}

TEST_F(MainFrameTest, TheFilterListsTheSlotsThenTheSummariesAndReloadsTheList) {
    SampleDate day;
    day.setSampleDate("20070315");
    ASSERT_TRUE(SampleDateTable::save(app.database(), day));
    Sample entry;
    entry.setSampleTime("20070315071000");
    entry.setSampleTypePk(app.getSlot(1).getPk());
    ASSERT_TRUE(SampleTable::saveWithDay(app.database(), entry, SyncState::Added));

    QComboBox* filter = frame->filterBox();
    ASSERT_EQ(filter->count(), 10); // the eight default slots, then the two summaries
    EXPECT_EQ(filter->itemText(1) + filter->itemText(8) + filter->itemText(9),
              "BreakfastDaily SummaryAll Types");
    EXPECT_EQ(frame->filterValue(), LogFilter::AllTypes);
    view->reload();
    EXPECT_EQ(view->list()->model()->rows().size(), 2u);
    filter->setCurrentIndex(8);
    EXPECT_EQ(view->list()->model()->rows(), (std::vector<LogRow>{{'D', day.getPk()}}));
    frame->rebuildFilter(); // keeps the position chosen before
    EXPECT_EQ(frame->filterValue(), LogFilter::DailySummary);
    filter->setCurrentIndex(1);
    EXPECT_EQ(view->list()->model()->rows(), (std::vector<LogRow>{{'S', entry.getPk()}}));
}

TEST_F(MainFrameTest, CommandsAreOfferedOnlyWhenTheyCanRun) {
    view->reload();
    EXPECT_FALSE(frame->action(ViewCommand::ModifyEntry)->isEnabled()); // nothing selected
    EXPECT_FALSE(actionNamed("Open...")->isEnabled());                  // only one patient
    EXPECT_FALSE(actionNamed("Remove User...")->isEnabled());
    for (const char* item : {"Save As....", "OneTouch Meter ...", "OneTouch Data ...",
                             "BG Tracker4 ...", "Database ...", "Backup...", "Restore..."})
        EXPECT_TRUE(actionNamed(item)->isEnabled()) << item;
    prompts.expect("Quillmarch", "Optimization Successful!");
    actionNamed("Optimize Database ...")->trigger();
    EXPECT_FALSE(actionNamed("Quick Bolus")->isEnabled()); // a new patient's is switched off
    ASSERT_TRUE(app.database().exec("update QB_PREFERENCE set USE_BOL = 'T' where PK = 1"));
    rebuildFrame();
    EXPECT_TRUE(actionNamed("Quick Bolus")->isEnabled());
}

TEST_F(MainFrameTest, AfterThePreferencesTheFilterTitleAndCachesFollowTheDatabase) {
    view->setPreferencesEditor([&] {
        // What a confirmed sheet leaves behind: a renamed slot and patient.
        return app.database().exec("update SAMPLE_TYPE set DESC='Frühstück' where PK=2") &&
               app.database().exec("update PREFERENCE set PATIENT_NAME='Ann Berg'");
    });
    frame->action(ViewCommand::Preferences)->trigger();
    EXPECT_EQ(frame->filterBox()->itemText(1), "Frühstück");
    EXPECT_EQ(app.getSlot(1).getDesc(), "Frühstück");
    EXPECT_EQ(frame->windowTitle(), "Quillmarch-Ann Berg");
}

TEST_F(MainFrameTest, OpeningAPatientWhoseFileCannotBeUsedEndsTheProgram) {
    ASSERT_TRUE(writeFile(dir.filePath("bad.db"), QByteArray(4096, 'x')));
    settings.setUserString("Bad", "DbPath", dir.filePath("bad.db"));
    rebuildFrame(); // "Open..." is offered from two patients on
    std::vector<int> quitRequests;
    app.setQuitRequest([&quitRequests](int code) { quitRequests.push_back(code); });
    dialogs.chosen = QString("Bad");
    prompts.expect("Database");
    prompts.expect("Quillmarch");
    actionNamed("Open...")->trigger();
    EXPECT_EQ(quitRequests, std::vector<int>{-1});
    // Nothing more runs on the missing file while the program ends: any statement would fail
    // with a message.
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(prompts.count(), 2);
}

TEST_F(MainFrameTest, TheSideLogsOpenFromTheViewMenu) {
    std::vector<std::string> opened;
    view->setVitalsEditor([&opened] { opened.push_back("vitals"); });
    frame->setFoodsEditor([&opened] { opened.push_back("foods"); });
    frame->setA1cEditor([&opened] { opened.push_back("a1c"); });
    QStringList items;
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->text() == "&View")
            for (QAction* item : menu->menu()->actions())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(items.mid(items.indexOf("Quick Bolus Setup")),
              QStringList({"Quick Bolus Setup", "-", "Vitals", "Foods", "Hemoglobin A1c"}));
    frame->action(ViewCommand::Vitals)->trigger();
    actionNamed("Foods")->trigger();
    actionNamed("Hemoglobin A1c")->trigger();
    EXPECT_EQ(opened, (std::vector<std::string>{"vitals", "foods", "a1c"}));
}

// Every command of the menus, with its key and whether it is a switch: an item lost from a
// menu, or one that moved, shows as a changed line.
TEST_F(MainFrameTest, TheMenusHoldEveryCommand) {
    QStringList lines;
    std::function<void(QMenu*, const QString&)> dump = [&](QMenu* menu, const QString& indent) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) {
                lines << indent + "-";
                continue;
            }
            QString line = indent + item->text();
            if (!item->shortcut().isEmpty())
                line += " [" + item->shortcut().toString() + "]";
            if (item->isCheckable())
                line += " (switch)";
            lines << line;
            if (item->menu())
                dump(item->menu(), indent + "  ");
        }
    };
    for (QAction* menu : frame->menuBar()->actions()) {
        lines << menu->text();
        dump(menu->menu(), "  ");
    }
    expectGoldenFile(lines, "app/main_menus.txt");

    std::vector<QString> opened;
    frame->setUrlOpener([&opened](const QUrl& url) {
        opened.push_back(url.toString());
        return true;
    });
    actionNamed("Quillmarch on the Web")->trigger();
    actionNamed("Become a Sponsor")->trigger();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].startsWith("https://")) << opened[0].toStdString();
    EXPECT_NE(opened[0], opened[1]);
}
