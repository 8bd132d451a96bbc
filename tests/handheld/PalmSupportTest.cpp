#include "HandheldTest.h"

#include <functional>

namespace {

using Users = std::vector<PalmSupport::HandheldUser>;

TEST_F(HandheldTest, LoadingStopsAtTheFirstFailureAndFreesWhatItLoaded) {
    const struct {
        const char* scenario;
        std::function<void(RecordingHotSync&)> arrange;
        bool loads;
    } cases[] = {
        {"load_no_manager", [](RecordingHotSync& a) { a.script("export90", {5}); }, false},
        {"load_no_condmgr", [](RecordingHotSync& a) { a.missingLibraries = {"CondMgr.dll"}; },
         false},
        {"load_no_check_function",
         [](RecordingHotSync& a) { a.missingFunctions = {"HsCheckApiStatus"}; }, false},
        {"load_manager_started",
         [](RecordingHotSync& a) {
             a.script("HsCheckApiStatus", {1, 0});
         },
         true},
        {"load_manager_stays_down",
         [](RecordingHotSync& a) {
             a.script("HsCheckApiStatus", {1, 4});
         },
         false},
    };
    for (const auto& c : cases) {
        api = RecordingHotSync();
        prompts.clear();
        c.arrange(api);
        if (std::string(c.scenario) == "load_no_check_function")
            prompts.expect("Quillmarch", "GetProcAddress:HsCheckApiStatus failed 127");
        EXPECT_EQ(support.loadHotSync(), c.loads) << c.scenario;
        EXPECT_EQ(support.isLoaded(), c.loads);
        support.unloadHotSync();
        expectTranscript(c.scenario);
    }
}

TEST_F(HandheldTest, PairingWritesTheValuesQueuesTheApplicationAndRegistersTheConduit) {
    pairing("Jo", {}, {});
    // No conduit registered yet; -512 from the install aide is not worth a message.
    api.script("PltInstallFile", {-512});
    EXPECT_TRUE(support.pairPatient("Jo", 21));
    expectTranscript("pair_new");
}

TEST_F(HandheldTest, AnOldConduitGoesFirstAndAFailedQueueingIsToldButDoesNotStop) {
    pairing("Jo", {}, {});
    api.users.push_back({4294967295u, "Max Palm"});
    api.script("CmGetConduitByCreator", {0});
    api.script("PltInstallFile", {-3});
    prompts.expect("Quillmarch", "Palmsupport::setup:PltInstallFile Failed [-3]");
    EXPECT_TRUE(support.pairPatient("Jo", 4294967295u));
    expectTranscript("pair_replaces_conduit");
}

TEST_F(HandheldTest, EachRegistrationStepThatFailsIsNamedAndTheRestAreNotCalled) {
    const char* steps[] = {"CmInstallCreator", "CmSetCreatorName", "CmSetCreatorFile",
                           "CmSetCreatorTitle", "CmSetCreatorPriority"};
    for (const char* step : steps) {
        api.calls.clear();
        api.script(step, {-7});
        prompts.expect("Quillmarch",
                       QStringLiteral("PalmSupport::registerConduit:%1 Failed:-7").arg(step));
        EXPECT_FALSE(support.pairPatient("Jo", 33)) << step;
        EXPECT_TRUE(api.calls.last().startsWith(QString(step) + "(ZVRB")) << step;
        // The pairing written before the failure stays.
        EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "33");
    }
}

TEST_F(HandheldTest, PairingWithAnUnknownHandheldUserWritesNothing) {
    pairing("Jo", {}, {});
    EXPECT_FALSE(support.pairPatient("Jo", 99));
    EXPECT_EQ(api.calls, QStringList{"UmGetUserName(99) -> 0"});
    EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "");
}

TEST_F(HandheldTest, UnpairingWithdrawsTheApplicationAndDeletesBothValues) {
    pairing("Jo", "21", "Bob Palm");
    pairing("Ann", "17", "Ann Palm");
    EXPECT_TRUE(support.unpairPatient("Jo", 21));
    expectTranscript("unpair");
}

TEST_F(HandheldTest, ReregisteringPairsOnlyPatientsWithANonZeroId) {
    pairing("Ann", "17", "Ann Palm");
    pairing("Bob", "0", "Bob Palm");
    pairing("Cy", {}, {});
    pairing("Di", " 33x", "Spare Palm");
    EXPECT_TRUE(support.reregisterAll());
    EXPECT_FALSE(support.isLoaded());
    expectTranscript("reregister_all");
}

TEST_F(HandheldTest, ReregisteringWithoutARefreshFunctionSaysSo) {
    pairing("Ann", "17", "Ann Palm");
    api.missingFunctions = {"HsRefreshConduitInfo"};
    prompts.expect("Quillmarch", "GetProcAddress:HsRefreshConduitInfo failed 127");
    EXPECT_FALSE(support.reregisterAll());
    // The lookup is the last thing tried before the libraries are freed.
    const qsizetype lookup = api.calls.indexOf("GetProcAddress HsRefreshConduitInfo");
    EXPECT_EQ(api.calls.mid(lookup),
              (QStringList{"GetProcAddress HsRefreshConduitInfo", "FreeLibrary 0", "FreeLibrary 1",
                           "FreeLibrary 2", "FreeLibrary 3"}));

    // Without the manager nothing is tried at all.
    api = RecordingHotSync();
    api.script("export90", {1});
    EXPECT_FALSE(support.reregisterAll());
    EXPECT_EQ(api.calls, QStringList{"export90 size=260"});
}

TEST_F(HandheldTest, APatientIsOfferedItsOwnHandheldUserAndNoneOfAnothers) {
    pairing("Jo", "17", "Ann Palm");
    pairing("Bob", "21", "Bob Palm");
    api.users.push_back({5, "Unreadable", 1});
    EXPECT_TRUE(support.isHandheldUserTaken(21));
    EXPECT_FALSE(support.isHandheldUserTaken(33));
    EXPECT_EQ(support.handheldUsersFor("Jo"),
              (Users{{"Ann Palm", 17}, {"Spare Palm", 33}, {"", 4294967295u}}));
    EXPECT_EQ(support.handheldUsersFor("Bob"),
              (Users{{"Bob Palm", 21}, {"Spare Palm", 33}, {"", 4294967295u}}));
    // A patient paired with the unreadable id keeps it to itself.
    pairing("Cy", "4294967295", "");
    EXPECT_EQ(support.handheldUsersFor("Jo"), (Users{{"Ann Palm", 17}, {"Spare Palm", 33}}));
}

TEST(PalmSupportIds, StoredIdsReadAsTheNumberTheyStartWith) {
    const std::pair<const char*, HandheldUserId> cases[] = {{"17", 17},
                                                            {" 33x", 33},
                                                            {"", 0},
                                                            {"abc", 0},
                                                            {"4294967295", 4294967295u},
                                                            {"99999999999", 4294967295u},
                                                            {"-1", 4294967295u}};
    for (const auto& [text, id] : cases)
        EXPECT_EQ(PalmSupport::idFromText(text), id) << text;
    EXPECT_EQ(PalmSupport::idText(4294967295u), "4294967295");
}

} // namespace
