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

#include <QAction>
#include <QComboBox>

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
        return nullptr;
    }

    CQuillmarchView* view = nullptr;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST(MainFramePlacement, CentredEightHundredWideBelowTheTop) {
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 1024, 768)), QRect(112, 0, 800, 718));
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 800, 600)), QRect(0, 0, 800, 550));
    EXPECT_EQ(mainFramePlacement(QRect(0, 0, 640, 480)), QRect(0, 0, 800, 430));
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
    // Only one patient exists: "Open..." is off.
    ASSERT_NE(actionNamed("Open..."), nullptr);
    EXPECT_FALSE(actionNamed("Open...")->isEnabled());
}

TEST_F(MainFrameTest, QuickBolusIsOfferedOnlyWhileSwitchedOn) {
    ASSERT_NE(actionNamed("Quick Bolus"), nullptr);
    EXPECT_FALSE(actionNamed("Quick Bolus")->isEnabled()); // a new patient's starts switched off
    ASSERT_NE(actionNamed("Quick Bolus Setup"), nullptr);

    ASSERT_TRUE(app.database().exec("update QB_PREFERENCE set USE_BOL = 'T' where PK = 1"));
    rebuildFrame();
    EXPECT_TRUE(actionNamed("Quick Bolus")->isEnabled());
}

TEST_F(MainFrameTest, AfterThePreferencesTheFilterTitleAndCachesFollowTheDatabase) {
    EXPECT_EQ(frame->windowTitle(), "Quillmarch-Ann");
    int opened = 0;
    view->setPreferencesEditor([&] {
        ++opened;
        // What a confirmed sheet leaves behind: a renamed slot and patient.
        Database& db = app.database();
        EXPECT_TRUE(db.exec("update SAMPLE_TYPE set DESC='Frühstück' where PK=2"));
        EXPECT_TRUE(db.exec("update PREFERENCE set PATIENT_NAME='Ann Berg' where PK=1"));
        return true;
    });
    ASSERT_NE(frame->action(ViewCommand::Preferences), nullptr);
    frame->action(ViewCommand::Preferences)->trigger();

    EXPECT_EQ(opened, 1);
    EXPECT_EQ(frame->filterBox()->itemText(1), "Frühstück");
    EXPECT_EQ(app.getSlot(1).getDesc(), "Frühstück");
    EXPECT_EQ(frame->windowTitle(), "Quillmarch-Ann Berg");
}
