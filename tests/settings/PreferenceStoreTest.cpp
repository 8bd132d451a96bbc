#include "SettingsTest.h"

#include "settings/PreferenceStore.h"
#include "storage/SyncState.h"

#include <string>
#include <vector>

namespace {

const QString kCaption = QString::fromLatin1(kProgramCaption);

PatientFields patientNamed(const QString& name) {
    return {name, "Dr. Weiss", "030-123", "030-124", "19800214", ""};
}

RangeFields mgRanges() {
    return {"56", "70", "180", "216", 120, 130, 140, 80, 85, 90};
}

MiscFields misc(int delivery, int unit = kGlucoseUnitMgDl) {
    return {true, false, 90, unit, delivery};
}

class PreferenceStoreTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        changePreference([](Preference& p) {
            p.setPatientName("Anna");
            p.setDeliveryCode(kDeliveryInjection);
        });
        context->reload();
    }

    // Runs the store as the sheet does, with the delivery the sheet opened with.
    bool store(const PatientFields& patient, const MiscFields& miscFields,
               const std::function<void()>& storeSlots = {},
               const RangeFields& ranges = mgRanges()) {
        PreferenceStore storeUnit(*context, kDeliveryInjection);
        return storeUnit.store(patient, ranges, miscFields, storeSlots);
    }

    std::string preferenceRow() {
        return rows("select PATIENT_NAME, DOCTOR_NAME, DOCTOR_PHONE, DOCTOR_FAX, BIRTH_DATE, "
                    "DX_DATE, GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, "
                    "BP_SYSTOLIC_NORMAL, BP_SYSTOLIC_MODERATE, BP_SYSTOLIC_HI, "
                    "BP_DIASTOLIC_NORMAL, BP_DIASTOLIC_MODERATE, BP_DIASTOLIC_HI, "
                    "MILITARY_TIME_BOL, ASK_DELETE_BOL, RETAIN_PC_DAY_CNT, "
                    "GLUCOSE_SAMPLE_CODE, DELIVERY_CODE from PREFERENCE where pk=1")
            .at(0);
    }

    // Entries in four handheld states: unknown to it, added, changed by it, deleted.
    void addEntriesInEveryState() {
        addDay("20260310");
        addEntry("20260310070000", 120);
        addEntry("20260310080000", 130, [](Sample& s) { s.setFk(7); });
        addEntry("20260310090000", 140, [](Sample& s) { s.setFk(8); });
        addEntry("20260310100000", 150, [](Sample& s) { s.setFk(9); });
        ASSERT_TRUE(db->exec("update SAMPLE set sync_state=20 where FK=8"));
        ASSERT_TRUE(db->exec("update SAMPLE set sync_state=30 where FK=9"));
        takeStatements();
    }

    std::vector<std::string> entryStates() {
        return rows("select FK, DELIVERY_CODE, sync_state from SAMPLE order by FK");
    }
};

} // namespace

TEST_F(PreferenceStoreTest, EveryPageValueReachesThePreferenceRow) {
    EXPECT_TRUE(store(patientNamed("Anna"), misc(kDeliveryInjection)));
    EXPECT_EQ(preferenceRow(), "Anna|Dr. Weiss|030-123|030-124|19800214||56|70|180|216|120|130|"
                               "140|80|85|90|T|F|90|0|1");
    // The cached record is the one stored: the rest of the program sees the new values.
    EXPECT_EQ(context->preference().getGlucoseHi(), 180);
    // The same name renames nothing; a name differing only in case is a new name.
    EXPECT_TRUE(context->renames.isEmpty());
    store(patientNamed("anna"), misc(kDeliveryInjection));
    EXPECT_EQ(context->renames, QStringList{"anna"});
}

TEST_F(PreferenceStoreTest, RangesAreReadInTheUnitTheSheetOpenedWith) {
    changePreference([](Preference& p) { p.setGlucoseSampleCode(kGlucoseUnitMmol); });
    context->reload();
    // Millimole texts become tenths, whichever unit is chosen now; nothing is converted.
    RangeFields ranges{"3.2", "4.0", "10.0", "12.0", 0, 0, 0, 0, 0, 0};
    store(patientNamed("Anna"), misc(kDeliveryInjection, kGlucoseUnitMgDl), {}, ranges);
    EXPECT_EQ(rows("select GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, "
                   "GLUCOSE_SAMPLE_CODE from PREFERENCE"),
              std::vector<std::string>{"32|40|100|120|0"});
}

TEST_F(PreferenceStoreTest, ANewNameRenamesThePatientBeforeTheSlotsAreStored) {
    std::vector<std::string> seen;
    store(patientNamed("Anna Berg"), misc(kDeliveryInjection), [&] {
        // By the time the slots are stored, the record is saved and the patient renamed.
        seen.push_back(rows("select PATIENT_NAME from PREFERENCE").at(0));
        seen.push_back(std::to_string(context->renames.size()));
    });
    EXPECT_EQ(context->renames, QStringList{"Anna Berg"});
    EXPECT_EQ(seen, (std::vector<std::string>{"Anna Berg", "1"}));
}

TEST_F(PreferenceStoreTest, ANewDeliveryAnsweredYesUpdatesEveryEntryAndResendsKnownOnes) {
    addEntriesInEveryState();
    prompts.expect(kCaption,
                   "You changed your default delivery from Injection to Pump.\n\nDo you want to "
                   "update all log entries to Pump as the delivery?",
                   PromptAnswer::Yes);
    store(patientNamed("Anna"), misc(kDeliveryPump));

    // The unknown entry keeps "added"; the deleted one stays deleted.
    EXPECT_EQ(entryStates(), (std::vector<std::string>{"0|0|10", "7|0|20", "8|0|20", "9|0|30"}));
    const std::vector<std::string> statements = takeStatements();
    for (const char* expected :
         {"UPDATE SAMPLE SET DELIVERY_CODE=0",
          "UPDATE SAMPLE SET SYNC_STATE=20 where FK > 0 and sync_state <> 30"})
        EXPECT_NE(std::find(statements.begin(), statements.end(), expected), statements.end())
            << expected;
}

TEST_F(PreferenceStoreTest, ANewDeliveryAnsweredNoLeavesTheLogAlone) {
    addEntriesInEveryState();
    const std::vector<std::string> before = entryStates();
    prompts.expect(kCaption, {}, PromptAnswer::No);
    store(patientNamed("Anna"), misc(kDeliveryOral));
    EXPECT_EQ(entryStates(), before);
    // The default itself is stored all the same.
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), std::vector<std::string>{"2"});
}

TEST_F(PreferenceStoreTest, EveryStoreAsksAgainWhileTheDeliveryDiffersFromTheOpeningOne) {
    PreferenceStore storeUnit(*context, kDeliveryInjection);
    prompts.expect(kCaption, {}, PromptAnswer::No);
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryPump), {});
    prompts.expect(kCaption, {}, PromptAnswer::No);
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryPump), {});
    // Back to the opening delivery: no question.
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryInjection), {});
    EXPECT_EQ(prompts.count(), 2);
}

TEST_F(PreferenceStoreTest, AFailedDeliveryUpdateIsReportedAndChangesNoEntry) {
    addEntriesInEveryState();
    // A trigger makes the second statement fail after the first has run.
    ASSERT_TRUE(db->exec("create trigger refuse before update of sync_state on SAMPLE "
                         "begin select raise(abort, 'refused'); end"));
    const std::vector<std::string> before = entryStates();
    prompts.expect(kCaption, {}, PromptAnswer::Yes);
    prompts.expect(kCaption, "Update Failed");
    EXPECT_TRUE(store(patientNamed("Anna"), misc(kDeliveryPump)));
    EXPECT_EQ(entryStates(), before);
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), std::vector<std::string>{"0"});
}
