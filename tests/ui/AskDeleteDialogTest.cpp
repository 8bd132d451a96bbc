#include "ui/widgets/AskDeleteDialog.h"

#include "ModalDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(AskDeleteDialog, ShowsTheQuestionWithTheBoxTickedEachTimeAndReportsButtonAndBox) {
    AskDeleteDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Delete?");
    EXPECT_EQ(dialog.messageLabel()->text(), "Remove the selected information?");
    EXPECT_EQ(dialog.alwaysAskBox()->text(), "Always ask?");
    EXPECT_EQ(dialog.yesButton()->text(), "Yes");
    EXPECT_EQ(dialog.noButton()->text(), "No");

    enum Close { Yes, No, Escape };
    const struct {
        bool clearBox;
        Close close;
        DeleteAnswer expected;
    } cases[] = {{true, No, {false, false}},
                 {false, Yes, {true, true}},
                 {true, Yes, {true, false}},
                 // Closed without a button: not removed, the box still counts.
                 {false, Escape, {false, true}}};
    for (const auto& c : cases) {
        const int row = static_cast<int>(&c - cases);
        bool shownModalAndTicked = false;
        whenModal([&](QWidget* shown) {
            shownModalAndTicked =
                shown == &dialog && dialog.isModal() && dialog.alwaysAskBox()->isChecked();
            if (c.clearBox)
                dialog.alwaysAskBox()->setChecked(false);
            if (c.close == Escape)
                dialog.reject();
            else
                (c.close == Yes ? dialog.yesButton() : dialog.noButton())->click();
        });
        const DeleteAnswer answer = dialog.ask();
        EXPECT_TRUE(shownModalAndTicked) << "case " << row;
        EXPECT_EQ(answer.yes, c.expected.yes) << "case " << row;
        EXPECT_EQ(answer.alwaysAsk, c.expected.alwaysAsk) << "case " << row;
    }
}
