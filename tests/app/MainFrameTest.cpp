#include "NamedPatientDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/FramePlacement.h"
#include "app/SettingsTree.h"
#include "app/widgets/CMainFrame.h"
#include "logbook/LogRows.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/CQuillmarchView.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "support/ScriptedPrompts.h"
#include "ui/DeleteQuestion.h"
#include "ui/Progress.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class KeepEverything : public DeleteQuestion {
public:
    DeleteAnswer ask() override { return {false, true}; }
};

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app.setDataFolder(dir.filePath("data"));
        ASSERT_TRUE(app.selectUser()); // no patient yet: the new one is created and opened
        view = new CQuillmarchView(app, progress, question);
        frame = std::make_unique<CMainFrame>(app, *view);
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    NoProgress progress;
    NamedPatientDialogs dialogs{"Ann Lee"};
    FixedClock clock{fromDateTimeText("20070315120000")};
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    KeepEverything question;
    CQuillmarchView* view = nullptr;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST(MainFramePlacement, CentredEightHundredWideBelowTheTop) {
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 1024, 768)), QRect(112, 0, 800, 718));
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 800, 600)), QRect(0, 0, 800, 550));
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 640, 480)), QRect(0, 0, 800, 430));
}

TEST_F(MainFrameTest, TitleFollowsThePatient) {
    EXPECT_EQ(frame->windowTitle(), "Quillmarch-Ann Lee");
}

TEST_F(MainFrameTest, FilterListsTheSlotsThenSummaryAndAllTypes) {
    QComboBox* filter = frame->filterBox();
    ASSERT_EQ(filter->count(), 10); // the eight default slots, then the two summaries
    EXPECT_EQ(filter->itemText(0), "EarlyAm");
    EXPECT_EQ(filter->itemText(7), "Late Eve.");
    EXPECT_EQ(filter->itemText(8), "Daily Summary");
    EXPECT_EQ(filter->itemData(8).toInt(), 0);
    EXPECT_EQ(filter->itemText(9), "All Types");
    EXPECT_EQ(frame->filterValue(), LogFilter::AllTypes);
    EXPECT_EQ(filter->itemData(1).toInt(), app.getSlot(1).getPk());

    // A rebuild keeps the position chosen before.
    filter->setCurrentIndex(8);
    frame->rebuildFilter();
    EXPECT_EQ(filter->currentIndex(), 8);
    EXPECT_EQ(frame->filterValue(), LogFilter::DailySummary);
}

TEST_F(MainFrameTest, ChangingTheFilterReloadsTheList) {
    Database& db = app.database();
    SampleDate day;
    day.setSampleDate("20070315");
    ASSERT_TRUE(SampleDateTable::save(db, day));
    Sample entry;
    entry.setSampleTime("20070315071000");
    entry.setSampleTypePk(app.getSlot(1).getPk());
    ASSERT_TRUE(SampleTable::saveWithDay(db, entry, SyncState::Added));

    view->reload();
    EXPECT_EQ(view->list()->model()->rows().size(), 2u);
    frame->filterBox()->setCurrentIndex(8); // Daily Summary
    EXPECT_EQ(view->list()->model()->rows(), (std::vector<LogRow>{{'D', day.getPk()}}));
    frame->filterBox()->setCurrentIndex(1); // Breakfast
    EXPECT_EQ(view->list()->model()->rows(), (std::vector<LogRow>{{'S', entry.getPk()}}));
}

TEST_F(MainFrameTest, EditCommandsFollowTheSelectionAndOpenNeedsTwoPatients) {
    view->reload();
    EXPECT_FALSE(frame->action(ViewCommand::ModifyEntry)->isEnabled());
    EXPECT_EQ(frame->action(ViewCommand::NewEntry)->iconText(), "New");
    // Only one patient exists: "Open..." is off.
    QAction* open = nullptr;
    for (QAction* a : frame->findChildren<QAction*>())
        if (a->text() == "Open...")
            open = a;
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(open->isEnabled());
}

TEST_F(MainFrameTest, QuickBolusIsOfferedOnlyWhileSwitchedOn) {
    auto findAction = [](CMainFrame& f, const QString& text) -> QAction* {
        for (QAction* a : f.findChildren<QAction*>())
            if (a->text() == text)
                return a;
        return nullptr;
    };
    QAction* quick = findAction(*frame, "Quick Bolus");
    ASSERT_NE(quick, nullptr);
    EXPECT_FALSE(quick->isEnabled()); // a new patient's calculator starts switched off
    ASSERT_NE(findAction(*frame, "Quick Bolus Setup"), nullptr);

    ASSERT_TRUE(app.database().exec("update QB_PREFERENCE set USE_BOL = 'T' where PK = 1"));
    frame.reset(); // the frame owns the view
    view = new CQuillmarchView(app, progress, question);
    frame = std::make_unique<CMainFrame>(app, *view);
    EXPECT_TRUE(findAction(*frame, "Quick Bolus")->isEnabled());
}

TEST_F(MainFrameTest, AfterThePreferencesTheFilterTitleAndCachesFollowTheDatabase) {
    int opened = 0;
    view->setPreferencesEditor([&] {
        ++opened;
        // What a confirmed sheet leaves behind: a renamed slot and patient.
        Database& db = app.database();
        EXPECT_TRUE(db.exec("update SAMPLE_TYPE set DESC='Frühstück' where PK=2"));
        EXPECT_TRUE(db.exec("update PREFERENCE set PATIENT_NAME='Ann Berg' where PK=1"));
        return true;
    });
    QAction* preferences = frame->action(ViewCommand::Preferences);
    ASSERT_NE(preferences, nullptr);
    EXPECT_EQ(preferences->text(), "Preferences");
    preferences->trigger();

    EXPECT_EQ(opened, 1);
    EXPECT_EQ(frame->filterBox()->itemText(1), "Frühstück");
    EXPECT_EQ(app.getSlot(1).getDesc(), "Frühstück");
    EXPECT_EQ(frame->windowTitle(), "Quillmarch-Ann Berg");
}
