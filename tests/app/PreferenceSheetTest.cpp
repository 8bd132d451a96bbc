#include "AppTestSupport.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/PreferenceDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The real sheet over the real application: what it stores reaches the file and the
// patient's settings follow the new name.
class PreferenceSheetTest : public OpenPatientTest {
protected:
    void SetUp() override {
        OpenPatientTest::SetUp();
        settings.setUserString("Ann", "PatientNotes", "Walks daily");
    }
};

} // namespace

TEST_F(PreferenceSheetTest, ApplyAndOkStoreThePagesARefusedPageNothingAndTheSettingsFollowTheName) {
    PreferenceDlg sheet(app, question);
    sheet.show();
    sheet.patientPage()->doctorEdit()->setText("Dr. Weiss");
    emit sheet.patientPage()->doctorEdit()->textEdited("Dr. Weiss"); // as when typed
    sheet.applyButton()->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(rows("select DOCTOR_NAME from PREFERENCE"), Rows{"Dr. Weiss"});

    sheet.patientPage()->nameEdit()->setText("Ann Berg");
    sheet.rangesPage()->lowEdit()->setText("72");
    ASSERT_TRUE(sheet.rangesPage()->lowLeft());
    sheet.miscPage()->militaryBox()->setChecked(true);
    sheet.miscPage()->retentionEdit()->setText("6");
    const Rows before = rows("select * from PREFERENCE");
    prompts.expect("Quillmarch", "Please enter an integer between 7 and 9999.");
    sheet.okButton()->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(rows("select * from PREFERENCE"), before);
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann"});

    sheet.miscPage()->retentionEdit()->setText("7");
    sheet.okButton()->click();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(rows("select PATIENT_NAME, GLUCOSE_LO, GLUCOSE_EXT_LO, MILITARY_TIME_BOL, "
                   "RETAIN_PC_DAY_CNT from PREFERENCE"),
              Rows{"Ann Berg|72|58|T|7"});
    // Moved as a whole, as renaming the patient does.
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann Berg"});
    EXPECT_EQ(settings.getUserString("Ann Berg", "PatientNotes"), "Walks daily");
    EXPECT_EQ(app.currentUserName(), "Ann Berg");
}
