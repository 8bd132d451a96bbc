#include "SettingsTest.h"

#include "settings/PreferenceStore.h"

namespace {

const QString kCaption = QString::fromLatin1(kProgramCaption);

PatientFields patientNamed(const QString& name) {
    return {name, "Dr. Weiss", "030-123", "030-124", "19800214", ""};
}

RangeFields mgRanges() {
    return {"56", "70", "180", "216", 120, 130, 140, 80, 85, 90};
}

MiscFields misc(int delivery) {
    return {true, false, 90, kGlucoseUnitMgDl, delivery};
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

    std::string preferenceRow() { return rows("select * from PREFERENCE").at(0); }

    // Entries in four handheld states: unknown to it, added, changed by it, deleted.
    void addEntriesInEveryState() {
        addDay("20260310");
        addEntry("20260310070000", 120);
        addEntry("20260310080000", 130, [](Sample& s) { s.setFk(7); });
        addEntry("20260310090000", 140, [](Sample& s) { s.setFk(8); });
        addEntry("20260310100000", 150, [](Sample& s) { s.setFk(9); });
        ASSERT_TRUE(db->exec("update SAMPLE set sync_state=20 where FK=8"));
        ASSERT_TRUE(db->exec("update SAMPLE set sync_state=30 where FK=9"));
    }

    Rows entryStates() {
        return rows("select FK, DELIVERY_CODE, sync_state from SAMPLE order by FK");
    }
};

} // namespace

TEST_F(PreferenceStoreTest, EveryPageValueReachesThePreferenceRowBeforeTheSlotsAreStored) {
    std::string seenBySlots;
    EXPECT_TRUE(store(patientNamed("Anna"), misc(kDeliveryInjection),
                      [&] { seenBySlots = preferenceRow(); }));
    EXPECT_EQ(seenBySlots, "1|0|20|Anna|Dr. Weiss|030-123|030-124|19800214||28|90|T|F|120|140|"
                           "130|80|85|90|0|1|70|56|180|216");
    // The cached record is the one stored: the rest of the program sees the new values.
    EXPECT_EQ(context->preference().getGlucoseHi(), 180);
    // The same name renames nothing; a name differing only in case is a new name, and the
    // patient is renamed before the slots are stored.
    EXPECT_TRUE(context->renames.isEmpty());
    store(patientNamed("anna"), misc(kDeliveryInjection),
          [&] { EXPECT_EQ(context->renames, QStringList{"anna"}); });
    EXPECT_EQ(context->renames, QStringList{"anna"});
    // Range texts are read in the unit the sheet opened with, millimoles as tenths, whichever
    // unit is chosen now; nothing is converted.
    context->preference().setGlucoseSampleCode(kGlucoseUnitMmol);
    store(patientNamed("anna"), misc(kDeliveryInjection), {},
          {"3.2", "4.0", "10.0", "12.0", 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(rows("select GLUCOSE_EXT_LO, GLUCOSE_LO, GLUCOSE_HI, GLUCOSE_EXT_HI, "
                   "GLUCOSE_SAMPLE_CODE from PREFERENCE"),
              Rows{"32|40|100|120|0"});
}

TEST_F(PreferenceStoreTest, AnUntouchedAskBoxKeepsWhatARemovalAnsweredMeanwhile) {
    // The delete confirmation turned the question off while the sheet was open.
    context->preference().setAskDeleteBol(false);
    MiscFields untouched = misc(kDeliveryInjection);
    untouched.askDelete.reset();
    store(patientNamed("Anna"), untouched);
    EXPECT_EQ(rows("select ASK_DELETE_BOL from PREFERENCE"), Rows{"F"});
    untouched.askDelete = true; // the patient turned it on again on the page
    store(patientNamed("Anna"), untouched);
    EXPECT_EQ(rows("select ASK_DELETE_BOL from PREFERENCE"), Rows{"T"});
}

TEST_F(PreferenceStoreTest, AFailedSaveOrRenameKeepsNothingAndIsReported) {
    const std::string before = preferenceRow();
    for (bool saveFails : {true, false}) { // then the save passes and the rename fails
        ASSERT_TRUE(db->exec(saveFails ? "create trigger refuse before update on PREFERENCE "
                                         "begin select raise(abort, 'preference refused'); end"
                                       : "drop trigger refuse"));
        context->renameSucceeds = saveFails;
        context->renames.clear();
        bool slotsStored = false;
        prompts.expect(saveFails ? "Database" : kProgramCaption,
                       saveFails ? "preference refused"
                                 : "The patient's settings could not be moved to the name "
                                   "Berta. Nothing was changed.");
        EXPECT_FALSE(
            store(patientNamed("Berta"), misc(kDeliveryPump), [&] { slotsStored = true; }));
        prompts.verify();
        // Neither the row, nor the cached record, nor the patient's settings moved; the slots
        // and the delivery question never came.
        EXPECT_EQ(preferenceRow(), before);
        EXPECT_EQ(context->preference().getPatientName(), "Anna");
        EXPECT_EQ(context->preference().getDeliveryCode(), kDeliveryInjection);
        EXPECT_EQ(context->renames, saveFails ? QStringList() : QStringList{"Berta"});
        EXPECT_FALSE(slotsStored);
    }
}

TEST_F(PreferenceStoreTest, EveryStoreOffersANewDeliveryToTheLogWhileItDiffers) {
    addEntriesInEveryState();
    const Rows before = entryStates();
    PreferenceStore storeUnit(*context, kDeliveryInjection);
    // No: the log stays, the default itself is stored all the same. Back to the opening
    // delivery: no question.
    prompts.expect(kCaption, {}, PromptAnswer::No);
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryOral), {});
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), Rows{"2"});
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryInjection), {});
    EXPECT_EQ(entryStates(), before);
    prompts.expect(kCaption,
                   "You changed your default delivery from Injection to Pump.\n\nDo you want to "
                   "update all log entries to Pump as the delivery?",
                   PromptAnswer::Yes);
    storeUnit.store(patientNamed("Anna"), mgRanges(), misc(kDeliveryPump), {});
    // The unknown entry keeps "added"; the deleted one stays deleted.
    EXPECT_EQ(entryStates(), (Rows{"0|0|10", "7|0|20", "8|0|20", "9|0|30"}));
}

TEST_F(PreferenceStoreTest, AFailedDeliveryUpdateIsReportedAndChangesNoEntry) {
    addEntriesInEveryState();
    // A trigger makes the second statement fail after the first has run.
    ASSERT_TRUE(db->exec("create trigger refuse before update of sync_state on SAMPLE "
                         "begin select raise(abort, 'refused'); end"));
    const Rows before = entryStates();
    prompts.expect(kCaption, {}, PromptAnswer::Yes);
    prompts.expect(kCaption, "Update Failed");
    EXPECT_TRUE(store(patientNamed("Anna"), misc(kDeliveryPump)));
    EXPECT_EQ(entryStates(), before);
    EXPECT_EQ(rows("select DELIVERY_CODE from PREFERENCE"), Rows{"0"});
}
