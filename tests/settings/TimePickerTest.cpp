#include "SettingsTest.h"
#include "settings/widgets/BasilDetailDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimeEdit>

namespace {

void press(QWidget* widget, Qt::Key key, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);
}

struct DayHalfCase {
    QTime shown;
    Qt::Key key;
    const char* text;
    const char* stored; // nullptr: Enter is refused and the dialog stays open
};

} // namespace

// The day half typed over in a 12-hour picker, then Enter: the time stored is the one shown.
TEST_F(SettingsTest, APartlyTypedDayHalfIsReadAsShownOrRefused) {
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    const DayHalfCase cases[] = {
        {QTime(10, 0), Qt::Key_P, "P", "22:00"},
        {QTime(10, 0), Qt::Key_P, "p", "22:00"},
        {QTime(22, 0), Qt::Key_A, "a", "10:00"},
        {QTime(10, 0), Qt::Key_Backspace, "", nullptr},
    };
    for (const DayHalfCase& c : cases) {
        BasilDetailDlg dialog(*context, BasilRate());
        dialog.rateEdit()->setText("1.0");
        dialog.show();
        QTimeEdit* picker = dialog.timePicker();
        picker->setTime(c.shown);
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::AmPmSection);
        press(picker, c.key, QString::fromLatin1(c.text));
        press(picker, Qt::Key_Return);
        if (c.stored) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.text;
            EXPECT_EQ(dialog.record().getStartTime().toStdString(), c.stored) << c.text;
        } else {
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(picker->findChild<QLineEdit*>()->text(), "10:00 AM");
        }
    }
}
