#include "NamedPatientDialogs.h"
#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "settings/widgets/GlucoseRangeDlg.h"
#include "settings/widgets/LogTypesDlg.h"
#include "settings/widgets/PatientDlg.h"
#include "settings/widgets/PrefMiscDlg.h"
#include "settings/widgets/PreferenceDlg.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/SampleTable.h"
#include "support/ScriptedDeleteQuestion.h"
#include "support/ScriptedPrompts.h"
#include "ui/Progress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The real sheet over a real patient: a database file made as the program makes it and a
// settings file of its own.
class PreferenceSheetTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app.setDataFolder(dir.filePath("data"));
        ASSERT_TRUE(app.selectUser());
        settings.setUserString("Ann", "PatientNotes", "Walks daily");
    }
    void TearDown() override { prompts.verify(); }

    std::vector<std::string> rows(const char* sql) {
        std::vector<std::string> out;
        auto query = app.database().query(sql);
        while (query && query->step()) {
            std::string row;
            for (int i = 0; i < query->columnCount(); ++i) {
                const char* value = query->value(i);
                row += std::string(i ? "|" : "") + (value ? value : "NULL");
            }
            out.push_back(row);
        }
        return out;
    }

    // A row without its PK, FK and sync_state.
    static std::string withoutKeys(const std::string& row) {
        size_t at = 0;
        for (int i = 0; i < 3 && at != std::string::npos; ++i)
            at = row.find('|', at + 1);
        return at == std::string::npos ? row : row.substr(at);
    }

    // What the settings file holds, read afresh from the disk.
    QStringList storedKeys() {
        QSettings file(dir.filePath("settings.ini"), QSettings::IniFormat);
        return file.allKeys();
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    NoProgress progress;
    NamedPatientDialogs dialogs{"Ann"};
    FixedClock clock{fromDateTimeText("20260314093000")};
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    ScriptedDeleteQuestion question;
};

} // namespace

TEST_F(PreferenceSheetTest, OkStoresThePagesAndMovesTheSettingsToTheNewName) {
    const QString dbPath = settings.getUserString("Ann", "DbPath");
    std::vector<QString> titles;
    app.setTitleObserver([&titles](const QString& title) { titles.push_back(title); });
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
              std::vector<std::string>{"Ann Berg|Dr. Weiss|72|58|T"});
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann Berg"});
    EXPECT_EQ(settings.getUserString("Ann Berg", "DbPath"), dbPath);
    EXPECT_EQ(settings.getUserString("Ann Berg", "PatientNotes"), "Walks daily");
    for (const QString& key : storedKeys())
        EXPECT_FALSE(key.contains("/Ann/")) << key.toStdString();
    EXPECT_EQ(app.currentUserName(), "Ann Berg");
    EXPECT_EQ(titles, std::vector<QString>{"Quillmarch-Ann Berg"});
}

TEST_F(PreferenceSheetTest, AnUntouchedSheetWritesNoSlotAndKeepsTheSettings) {
    const QStringList keysBefore = storedKeys();
    const auto slotsBefore = rows("select * from SAMPLE_TYPE order by PK");
    const auto preferenceBefore = rows("select * from PREFERENCE");
    {
        PreferenceDlg sheet(app, question);
        sheet.okButton()->click();
        EXPECT_EQ(sheet.result(), QDialog::Accepted);
    }
    EXPECT_EQ(rows("select * from SAMPLE_TYPE order by PK"), slotsBefore);
    EXPECT_EQ(storedKeys(), keysBefore);
    // The record is saved whole (now marked changed), with the values it had.
    auto preferenceAfter = rows("select * from PREFERENCE");
    ASSERT_EQ(preferenceAfter.size(), 1u);
    EXPECT_EQ(withoutKeys(preferenceAfter[0]), withoutKeys(preferenceBefore[0]));
}

TEST_F(PreferenceSheetTest, CancelStoresNothingOfThePreferenceOrTheSlots) {
    const auto before = rows("select * from PREFERENCE");
    const auto slotsBefore = rows("select * from SAMPLE_TYPE order by PK");
    {
        PreferenceDlg sheet(app, question);
        sheet.patientPage()->nameEdit()->setText("Someone Else");
        sheet.logTypesPage()->nameEdit(1)->setText("Brunch");
        sheet.cancelButton()->click();
        EXPECT_EQ(sheet.result(), QDialog::Rejected);
    }
    EXPECT_EQ(rows("select * from PREFERENCE"), before);
    EXPECT_EQ(rows("select * from SAMPLE_TYPE order by PK"), slotsBefore);
    EXPECT_EQ(settings.listUsers(), QStringList{"Ann"});
}

TEST_F(PreferenceSheetTest, ApplyStoresAtOnceAndAsksAboutTheDeliveryEachTime) {
    Sample known;
    known.setSampleTime("20260313080000");
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
    EXPECT_EQ(rows("select DESC, sync_state from SAMPLE_TYPE where PK=2"),
              std::vector<std::string>{"Brunch|20"});
    EXPECT_EQ(rows("select DELIVERY_CODE, sync_state from SAMPLE"),
              std::vector<std::string>{"1|10"});

    // Still different from the delivery the sheet opened with: asked again.
    prompts.expect("Quillmarch", {}, PromptAnswer::Yes);
    sheet.okButton()->click();
    EXPECT_EQ(rows("select DELIVERY_CODE, sync_state from SAMPLE"),
              std::vector<std::string>{"0|20"});
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), std::vector<std::string>{"0"});
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
