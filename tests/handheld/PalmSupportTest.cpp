#include "HandheldTest.h"

namespace {

TEST_F(HandheldTest, LoadingStopsAtTheFirstFailureAndFreesWhatItLoaded) {
    const struct {
        const char* scenario;
        std::deque<long> path, status; // answers of the manager's path and status calls
        const char* missing;
        bool loads;
    } cases[] = {
        {"load_no_manager", {5}, {}, "", false},
        {"load_no_condmgr", {}, {}, "CondMgr.dll", false},
        {"load_no_check_function", {}, {}, "HsCheckApiStatus", false},
        {"load_manager_started", {}, {1, 0}, "", true},
        {"load_manager_stays_down", {}, {1, 4}, "", false},
    };
    prompts.allowAny(); // the call logs hold what was shown
    for (const auto& c : cases) {
        api = RecordingHotSync();
        prompts.clear();
        api.answers = {{"exportNumber90", c.path}, {"HsCheckApiStatus", c.status}};
        api.missing = QStringList{c.missing};
        EXPECT_EQ(support.loadHotSync(), c.loads) << c.scenario;
        support.unloadHotSync();
        expectTranscript(c.scenario);
    }
}

TEST_F(HandheldTest, PairingWritesTheValuesQueuesTheApplicationAndRegistersTheConduit) {
    // -512 from the install aide (nothing was queued) is not worth a message; any other failure
    // is told and pairing goes on. A conduit already registered is removed first.
    const struct {
        const char* scenario;
        HandheldUserId id;
        long conduitFound, queued;
    } cases[] = {{"pair_new", 21, 1, -512}, {"pair_replaces_conduit", 4294967295u, 0, -3}};
    pairing("Jo");
    api.users.insert(4294967295u, "Max Palm");
    prompts.allowAny();
    for (const auto& c : cases) {
        api.calls.clear();
        prompts.clear();
        api.answers = {{"CmGetConduitByCreator", {c.conduitFound}}, {"PltInstallFile", {c.queued}}};
        EXPECT_TRUE(support.pairPatient("Jo", c.id));
        expectTranscript(c.scenario);
    }
}

TEST_F(HandheldTest, EachRegistrationStepThatFailsIsNamedAndTheRestAreNotCalled) {
    for (const char* step : {"CmInstallCreator", "CmSetCreatorName", "CmSetCreatorFile",
                             "CmSetCreatorTitle", "CmSetCreatorPriority"}) {
        api.calls.clear();
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
    pairing("Cy");
    pairing("Di", " 33x", "Spare Palm");
    pairing("Jo", "21", "Bob Palm");
    EXPECT_TRUE(support.unpairPatient("Jo", 21));
    expectTranscript("unpair");
    api.calls.clear();
    EXPECT_TRUE(support.reregisterAll());
    EXPECT_FALSE(support.isLoaded());
    expectTranscript("reregister_all");
    // A patient is offered its own handheld user and none that another patient has.
    using Users = std::vector<PalmSupport::HandheldUser>;
    EXPECT_EQ(support.handheldUsersFor("Ann"), (Users{{"Ann Palm", 17}, {"Bob Palm", 21}}));
    EXPECT_EQ(support.handheldUsersFor("Di"), (Users{{"Bob Palm", 21}, {"Spare Palm", 33}}));
}

} // namespace
