#include "SettingsTest.h"
#include "settings/widgets/BasilDetailDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/MedicationsDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PreferenceDlg.h"
#include "support/ScriptedDeleteQuestion.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

// Pasted over a whole field at its limit, an emoji is kept whole, and a letter whose mark
// does not fit is left out with it. Fields by dialog and control id, with limit and column.
TEST_F(SettingsTest, EveryTextFieldKeepsWholeCharactersAtItsLimit) {
    addUsualSlots();
    ScriptedDeleteQuestion question;
    const std::tuple<char, const char*, int, const char*> fields[] = {
        {'P', "1045", 35, "select PATIENT_NAME from PREFERENCE"},
        {'P', "1049", 15, "select DOCTOR_PHONE from PREFERENCE"},
        {'S', "1072", 15, "select DESC from SAMPLE_TYPE where pk=1"},
        {'M', "1063", 25, "select MED_DESC from MEDICATION order by pk desc"},
        {'M', "1064", 10, "select RX_ORDER_ID from MEDICATION order by pk desc"},
    };
    const QString emoji = QString::fromUtf8("\U0001F600"); // two UTF-16 units, one character
    for (const auto& [dialog, field, chars, stored] : fields) {
        const QString a(chars - 1, u'a');
        for (const auto& [pasted, kept] :
             {std::pair{a + emoji + emoji, a + emoji}, {a + QString::fromUtf8("e\u0301"), a}}) {
            auto paste = [&, field = field](QWidget* shown) {
                shown->findChild<QLineEdit*>(field)->selectAll();
                shown->findChild<QLineEdit*>(field)->insert(pasted);
            };
            if (dialog == 'P') {
                PreferenceDlg sheet(*context, question);
                paste(sheet.patientPage());
                EXPECT_TRUE(sheet.applyAll());
            } else if (dialog == 'S') {
                LogTypesDlg page(*context);
                paste(&page);
                page.store();
            } else {
                whenModalIs<MedicationItemDlg>([&](MedicationItemDlg* item) {
                    item->nameEdit()->setText("Med");
                    emit item->codeBox()->activated(0);
                    paste(item);
                    item->okButton()->click();
                });
                MedicationsDlg(*context, question).newButton()->click();
            }
            EXPECT_EQ(rows(stored).at(0), kept.toStdString()) << field;
        }
    }
}

// The day half typed over in a 12-hour picker, then Enter: the time stored is the one shown,
// or Enter is refused (nullptr) and the box shows the time it holds.
TEST_F(SettingsTest, APartlyTypedDayHalfIsReadAsShownOrRefused) {
    changePreference([](Preference& p) { p.setMilitaryTimeBol(false); });
    const std::tuple<QTime, Qt::Key, const char*, const char*> cases[] = {
        {QTime(10, 0), Qt::Key_P, "P", "22:00"},
        {QTime(22, 0), Qt::Key_A, "a", "10:00"},
        {QTime(10, 0), Qt::Key_Backspace, "", nullptr},
    };
    for (const auto& [shown, key, text, stored] : cases) {
        BasilDetailDlg dialog(*context, BasilRate());
        dialog.rateEdit()->setText("1.0");
        dialog.show();
        dialog.timePicker()->setTime(shown);
        dialog.timePicker()->setSelectedSection(QDateTimeEdit::AmPmSection);
        for (auto [k, t] : {std::pair{key, QString::fromLatin1(text)}, {Qt::Key_Return, {}}}) {
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, t);
            QApplication::sendEvent(dialog.timePicker(), &press);
        }
        if (stored)
            EXPECT_EQ(dialog.record().getStartTime().toStdString(), stored) << text;
        else
            EXPECT_EQ(dialog.timePicker()->findChild<QLineEdit*>()->text(), "10:00 AM");
        EXPECT_EQ(dialog.isVisible(), !stored) << text;
    }
}
