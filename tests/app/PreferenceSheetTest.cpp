#include "AppTestSupport.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/PreferenceDlg.h"
#include "storage/SampleTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace {

// The real sheet over a real patient.
class PreferenceSheetTest : public OpenPatientTest {
protected:
    void SetUp() override {
        OpenPatientTest::SetUp();
        settings.setUserString("Ann", "PatientNotes", "Walks daily");
    }

    // What the settings file holds, read afresh from the disk.
    QStringList storedKeys() {
        return QSettings(dir.filePath("settings.ini"), QSettings::IniFormat).allKeys();
    }
    Rows slotRows() { return rows("select * from SAMPLE_TYPE order by PK"); }
};

// A row without its PK, FK and sync_state.
std::string withoutKeys(const std::string& row) {
    size_t at = 0;
    for (int i = 0; i < 3 && at != std::string::npos; ++i)
        at = row.find('|', at + 1);
    return at == std::string::npos ? row : row.substr(at);
}

} // namespace

TEST_F(PreferenceSheetTest, OkStoresThePagesAndMovesTheSettingsToTheNewName) {
    {
        PreferenceDlg sheet(app, question);
        sheet.patientPage()->nameEdit()->setText("Ann Berg");
        sheet.patientPage()->doctorEdit()->setText("Dr. Weiss");
        sheet.rangesPage()->lowEdit()->setText("72");
        ASSERT_TRUE(sheet.rangesPage()->lowLeft());
        sheet.miscPage()->militaryBox()->setChecked(true);
        sheet.okButton()->click();
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
    }
    EXPECT_EQ(rows("select PATIENT_NAME, DOCTOR_NAME, GLUCOSE_LO, GLUCOSE_EXT_LO, "
                   "MILITARY_TIME_BOL from PREFERENCE"),
              Rows{"Ann Berg|Dr. Weiss|72|58|T"});
    // Moved as a whole, as renaming the patient does.
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann Berg"});
    EXPECT_EQ(settings.getUserString("Ann Berg", "PatientNotes"), "Walks daily");
    for (const QString& key : storedKeys())
        EXPECT_FALSE(key.contains("/Ann/")) << key.toStdString();
    EXPECT_EQ(app.currentUserName(), "Ann Berg");
}

TEST_F(PreferenceSheetTest, CancelStoresNothingAndAnUntouchedSheetKeepsSlotsAndSettings) {
    const QStringList keysBefore = storedKeys();
    const Rows slotsBefore = slotRows();
    const Rows before = rows("select * from PREFERENCE");
    {
        PreferenceDlg sheet(app, question);
        sheet.patientPage()->nameEdit()->setText("Someone Else");
        sheet.logTypesPage()->nameEdit(1)->setText("Brunch");
        sheet.cancelButton()->click();
        EXPECT_EQ(sheet.result(), QDialog::Rejected);
    }
    EXPECT_EQ(rows("select * from PREFERENCE"), before);
    EXPECT_EQ(slotRows(), slotsBefore);
    EXPECT_EQ(storedKeys(), keysBefore);

    {
        PreferenceDlg sheet(app, question);
        sheet.okButton()->click();
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
    }
    EXPECT_EQ(slotRows(), slotsBefore);
    EXPECT_EQ(storedKeys(), keysBefore);
    // The record is saved whole (now marked changed), with the values it had.
    const Rows after = rows("select * from PREFERENCE");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(withoutKeys(after[0]), withoutKeys(before[0]));
}

TEST_F(PreferenceSheetTest, ApplyStoresAtOnceAndAsksAboutTheDeliveryEachTime) {
    Sample known;
    known.setSampleTime("20070314080000");
    known.setFk(12);
    known.setDeliveryCode(kDeliveryInjection);
    ASSERT_TRUE(SampleTable::saveWithDay(app.database(), known, SyncState::Added));

    PreferenceDlg sheet(app, question);
    sheet.show();
    sheet.logTypesPage()->nameEdit(1)->setText("Brunch");
    QComboBox* delivery = sheet.miscPage()->deliveryBox();
    const int pump = delivery->findText("Pump");
    delivery->setCurrentIndex(pump);
    emit delivery->activated(pump); // as when the patient picks it
    ASSERT_TRUE(sheet.applyButton()->isEnabled());

    prompts.expect("Quillmarch",
                   "You changed your default delivery from Injection to Pump.\n\nDo you want to "
                   "update all log entries to Pump as the delivery?",
                   PromptAnswer::No);
    sheet.applyButton()->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(rows("select DESC, sync_state from SAMPLE_TYPE where PK=2"), Rows{"Brunch|20"});
    EXPECT_EQ(rows("select DELIVERY_CODE, sync_state from SAMPLE"), Rows{"1|10"});

    // Still different from the delivery the sheet opened with: asked again.
    prompts.expect("Quillmarch", {}, PromptAnswer::Yes);
    sheet.okButton()->click();
    EXPECT_EQ(rows("select DELIVERY_CODE, sync_state from SAMPLE"), Rows{"0|20"});
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), Rows{"0"});
}

TEST_F(PreferenceSheetTest, ARefusedPageKeepsTheSheetOpenAndStoresNothing) {
    const auto before = rows("select * from PREFERENCE");
    PreferenceDlg sheet(app, question);
    sheet.show();
    sheet.patientPage()->nameEdit()->setText("Ann Berg");
    sheet.miscPage()->retentionEdit()->setText("6");
    prompts.expect("Quillmarch", "Please enter an integer between 7 and 9999.");
    sheet.okButton()->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(rows("select * from PREFERENCE"), before);
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann"});
}
