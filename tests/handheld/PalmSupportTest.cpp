#include "HandheldTest.h"

namespace {

TEST_F(HandheldTest, LoadingStopsAtTheFirstFailureAndFreesWhatItLoaded) {
    // The answers to the manager's path and status calls, what is missing, whether it loads.
    using Case = std::tuple<const char*, QList<long>, QList<long>, const char*, bool>;
    const Case cases[] = {
        {"load_no_manager", {5}, {}, "", false},
        {"load_no_condmgr", {}, {}, "CondMgr.dll", false},
        {"load_no_check_function", {}, {}, "HsCheckApiStatus", false},
        {"load_manager_started", {}, {1, 0}, "", true},
        {"load_manager_stays_down", {}, {1, 4}, "", false},
    };
    prompts.allowAny(); // the call logs hold what was shown
    for (const auto& [scenario, path, status, missing, loads] : cases) {
        api = RecordingHotSync();
        prompts.clear();
        api.answers = {{"exportNumber90", path}, {"HsCheckApiStatus", status}};
        api.missing = QStringList{missing};
        EXPECT_EQ(support.loadHotSync(), loads) << scenario;
        support.unloadHotSync();
        expectTranscript(scenario);
    }
}

TEST_F(HandheldTest, PairingWritesTheValuesQueuesTheApplicationAndRegistersTheConduit) {
    // The id, whether a conduit is registered (it goes first), what queueing the file answers:
    // -512 (nothing was queued) is not worth a message, others are and pairing goes on.
    using Case = std::tuple<const char*, HandheldUserId, long, long>;
    const Case cases[] = {{"pair_new", 21, 1, -512}, {"pair_replaces_conduit", 4294967295u, 0, -3}};
    pairing("Jo", "", "");
    api.users.insert(4294967295u, "Max Palm");
    prompts.allowAny();
    for (const auto& [scenario, id, registered, queued] : cases) {
        api.calls.clear();
        prompts.clear();
        api.answers = {{"CmGetConduitByCreator", {registered}}, {"PltInstallFile", {queued}}};
        EXPECT_TRUE(support.pairPatient("Jo", id));
        expectTranscript(scenario);
    }
}

TEST_F(HandheldTest, EachRegistrationStepThatFailsIsNamedAndTheRestAreNotCalled) {
    for (const char* step : {"CmInstallCreator", "CmSetCreatorName", "CmSetCreatorFile",
                             "CmSetCreatorTitle", "CmSetCreatorPriority"}) {
        api.answers[step] = {-7};
        prompts.expect("Quillmarch",
                       QStringLiteral("PalmSupport::registerConduit:%1 Failed:-7").arg(step));
        EXPECT_FALSE(support.pairPatient("Jo", 33)) << step;
        EXPECT_TRUE(api.calls.last().startsWith(QString(step) + "(ZVRB")) << step;
        EXPECT_EQ(settings.getUserString("Jo", "PalmUserNameId"), "33"); // written before
    }
}

TEST_F(HandheldTest, UnpairingReregisteringAndTheListingFollowTheStoredIds) {
    pairing("Ann", "17", "Ann Palm");
    pairing("Bob", "0", "Bob Palm");
    pairing("Cy", "", "");
    pairing("Di", " 33x", "Spare Palm");
    pairing("Jo", "21", "Bob Palm");
    EXPECT_TRUE(support.unpairPatient("Jo", 21));
    expectTranscript("unpair");
    api.calls.clear();
    EXPECT_TRUE(support.reregisterAll());
    expectTranscript("reregister_all");
    // A patient is offered its own handheld user and none that another patient has.
    using Users = std::vector<PalmSupport::HandheldUser>;
    EXPECT_EQ(support.handheldUsersFor("Ann"), (Users{{"Ann Palm", 17}, {"Bob Palm", 21}}));
    EXPECT_EQ(support.handheldUsersFor("Di"), (Users{{"Bob Palm", 21}, {"Spare Palm", 33}}));
}

} // namespace
