#include "app/AppDialogs.h"
#include "app/widgets/FinalizingWindow.h"
#include "app/widgets/NewPatientDialog.h"
#include "app/widgets/SplashDialog.h"
#include "app/widgets/UserDialog.h"
#include "app/widgets/WidgetAppDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

FinalizingWindow* visibleFinalizingWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<FinalizingWindow*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

TEST(UserDialogTest, ListsPatientsByNameAndNeedsOneSelected) {
    UserDialog dialog({{"Zed", "zpalm"}, {"Ann", ""}, {"Bob", "bobpalm"}});
    QTreeWidget* list = dialog.list();
    EXPECT_EQ(list->headerItem()->text(0), "Patient Name");
    EXPECT_EQ(list->headerItem()->text(1), "Palm Name");
    EXPECT_EQ(list->columnWidth(0), 200);
    EXPECT_EQ(list->columnWidth(1), 150);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Ann");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "Bob");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "bobpalm");
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Zed");

    dialog.show();
    list->clearSelection();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    list->topLevelItem(1)->setSelected(true);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedName(), "Bob");
}

TEST(NewPatientDialogTest, OkNeedsANameOfAtMost35Characters) {
    NewPatientDialog dialog;
    dialog.show();
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.nameEdit()->setText("   ");
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());

    dialog.nameEdit()->setText(QString(40, u'x'));
    EXPECT_EQ(dialog.name().size(), 35);
    dialog.nameEdit()->setText("3 Jo O'Neil-Smith");
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.name(), "3 Jo O'Neil-Smith");
}

TEST(SplashDialogTest, ShowsADrawnPictureWithoutFrameAndClosesOnClick) {
    SplashDialog splash("4.1.0.0");
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_FALSE(splash.picture().isNull());
    EXPECT_EQ(splash.size(), splash.picture().size());
    // The drop is red on a pale background.
    const QImage image = splash.picture().toImage();
    const QColor drop = image.pixelColor(85, 150);
    const QColor corner = image.pixelColor(10, 10);
    EXPECT_GT(drop.red(), 2 * drop.blue());
    EXPECT_GT(corner.blue(), corner.red());

    int closed = 0;
    QObject::connect(&splash, &SplashDialog::closed, [&closed] { ++closed; });
    splash.show();
    ASSERT_TRUE(splash.isVisible());
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&splash, &click);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(closed, 1);
}

TEST(SplashDialogTest, ClosesWhenTheApplicationSaysSo) {
    SplashDialog splash("4.1.0.0");
    bool time = false;
    splash.closeWhen([&time] { return time; });
    splash.show();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 400)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(splash.isVisible());
    time = true;
    EXPECT_TRUE(waitUntil([&splash] { return !splash.isVisible(); }));
}

TEST(FinalizingWindowTest, ShowsTheWaitingText) {
    FinalizingWindow window;
    EXPECT_EQ(window.windowTitle(), "Finalizing Setup!");
    const QLabel* label = window.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(),
              "Quillmarch is setting up the patient for the first time.\n\nPlease wait.");
    EXPECT_FALSE(window.isModal());
}

TEST(WidgetAppDialogsTest, RunsTheRealDialogs) {
    WidgetAppDialogs dialogs;

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<NewPatientDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->nameEdit()->setText("Jo");
        dialog->okButton()->click();
    });
    EXPECT_EQ(dialogs.askNewPatientName(), QString("Jo"));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<NewPatientDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    EXPECT_FALSE(dialogs.askNewPatientName().has_value());

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<UserDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->list()->topLevelItem(0)->setSelected(true);
        dialog->accept();
    });
    EXPECT_EQ(dialogs.chooseUser({{"Bob", ""}, {"Ann", "apalm"}}), QString("Ann"));

    dialogs.showFinalizing(true);
    ASSERT_NE(visibleFinalizingWindow(), nullptr);
    dialogs.showFinalizing(false);
    EXPECT_EQ(visibleFinalizingWindow(), nullptr);
}

} // namespace
