#include "AppTestSupport.h"
#include "app/widgets/FinalizingWindow.h"
#include "app/widgets/NewPatientDialog.h"
#include "app/widgets/SplashDialog.h"
#include "app/widgets/UserDialog.h"
#include "app/widgets/WidgetAppDialogs.h"
#include "ui/ListTexts.h"
#include "ui/ModalDriver.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

TEST(UserDialogTest, ListsPatientsByNameAndNeedsOneSelected) {
    UserDialog dialog({{"Zed", "zpalm"}, {"Ann", ""}, {"Bob", "bobpalm"}});
    EXPECT_EQ(listedTexts(*dialog.list()),
              (std::vector<QStringList>{{"Ann", ""}, {"Bob", "bobpalm"}, {"Zed", "zpalm"}}));
    dialog.show();
    dialog.list()->clearSelection();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.list()->topLevelItem(1)->setSelected(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedName(), "Bob");
}

TEST(NewPatientDialogTest, OkNeedsANameOfAtMost35Characters) {
    NewPatientDialog dialog;
    dialog.show();
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.nameEdit()->setText("   ");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.nameEdit()->setText(QString(40, u'x'));
    EXPECT_EQ(dialog.name().size(), 35);
    dialog.nameEdit()->setText("3 Jo O'Neil-Smith");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.name(), "3 Jo O'Neil-Smith");
}

TEST(SplashDialogTest, ClosesOnAClickOrWhenTheApplicationSaysSo) {
    SplashDialog splash("4.1.0.0");
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.size(), splash.picture().size());
    int closed = 0;
    QObject::connect(&splash, &SplashDialog::closed, [&closed] { ++closed; });
    splash.show();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&splash, &click);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(closed, 1);

    bool time = false;
    splash.closeWhen([&time] { return time; });
    splash.show();
    waitUntil([] { return false; }, 400);
    EXPECT_TRUE(splash.isVisible());
    time = true;
    EXPECT_TRUE(waitUntil([&splash] { return !splash.isVisible(); }));
}

TEST(WidgetAppDialogsTest, RunsTheRealDialogs) {
    WidgetAppDialogs dialogs;
    whenModalIs<NewPatientDialog>([](NewPatientDialog* dialog) {
        dialog->nameEdit()->setText("Jo");
        dialog->okButton()->click();
    });
    EXPECT_EQ(dialogs.askNewPatientName(), QString("Jo"));
    whenModalIs<UserDialog>([](UserDialog* dialog) {
        dialog->list()->topLevelItem(0)->setSelected(true);
        dialog->accept();
    });
    EXPECT_EQ(dialogs.chooseUser({{"Bob", ""}, {"Ann", "apalm"}}), QString("Ann"));

    const auto finalizing = [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<FinalizingWindow*>(widget) && widget->isVisible())
                return widget;
        return static_cast<QWidget*>(nullptr);
    };
    dialogs.showFinalizing(true);
    ASSERT_NE(finalizing(), nullptr);
    EXPECT_EQ(finalizing()->windowTitle(), "Finalizing Setup!");
    EXPECT_FALSE(finalizing()->isModal());
    dialogs.showFinalizing(false);
    EXPECT_EQ(finalizing(), nullptr);
}

} // namespace
