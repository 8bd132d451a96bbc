#include "ui/widgets/AskDeleteDialog.h"

#include "ModalDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(AskDeleteDialog, ShowsTheQuestionWithTheBoxTicked) {
    AskDeleteDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Delete?");
    EXPECT_EQ(dialog.messageLabel()->text(), "Remove the selected information?");
    EXPECT_EQ(dialog.alwaysAskBox()->text(), "Always ask?");
    EXPECT_EQ(dialog.yesButton()->text(), "Yes");
    EXPECT_EQ(dialog.noButton()->text(), "No");
    EXPECT_TRUE(dialog.alwaysAskBox()->isChecked());
}

TEST(AskDeleteDialog, ReportsTheButtonAndTheBoxAndTicksTheBoxAgainEachTime) {
    AskDeleteDialog dialog;
    bool wasModal = false;
    whenModal([&](QWidget* shown) {
        wasModal = shown == &dialog && dialog.isModal();
        dialog.alwaysAskBox()->setChecked(false);
        dialog.noButton()->click();
    });
    DeleteAnswer first = dialog.ask();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(first.yes);
    EXPECT_FALSE(first.alwaysAsk);

    bool tickedWhenShown = false;
    whenModal([&](QWidget*) {
        tickedWhenShown = dialog.alwaysAskBox()->isChecked();
        dialog.yesButton()->click();
    });
    DeleteAnswer second = dialog.ask();
    EXPECT_TRUE(tickedWhenShown);
    EXPECT_TRUE(second.yes);
    EXPECT_TRUE(second.alwaysAsk);

    whenModal([&](QWidget*) {
        dialog.alwaysAskBox()->setChecked(false);
        dialog.yesButton()->click();
    });
    DeleteAnswer third = dialog.ask();
    EXPECT_TRUE(third.yes);
    EXPECT_FALSE(third.alwaysAsk);

    // Closed without a button (Escape): not removed, the box still counts.
    whenModal([&](QWidget*) { dialog.reject(); });
    DeleteAnswer fourth = dialog.ask();
    EXPECT_FALSE(fourth.yes);
    EXPECT_TRUE(fourth.alwaysAsk);
}
