#include "app/InstanceGuard.h"
#include "AppTestSupport.h"

namespace {

TEST(InstanceGuardTest, ASecondOpeningOfThePatientFailsAndRaisesTheFirst) {
    QTemporaryDir dir;
    InstanceGuard first(dir.path());
    InstanceGuard second(dir.path());
    int raised = 0;
    QObject::connect(&first, &InstanceGuard::raiseRequested, [&raised] { ++raised; });
    ASSERT_TRUE(first.acquire("Jo Smith"));
    EXPECT_FALSE(second.acquire("Jo Smith"));
    EXPECT_FALSE(second.isHeld());
    EXPECT_TRUE(waitUntil([&raised] { return raised > 0; }));
    EXPECT_EQ(raised, 1);

    // Another patient, even one with the same file name, does not meet it.
    EXPECT_TRUE(second.acquire("JoSmith"));
    // Acquiring another patient lets the first go.
    ASSERT_TRUE(first.acquire("Carl"));
    EXPECT_TRUE(InstanceGuard(dir.path()).acquire("Jo Smith"));
    EXPECT_FALSE(InstanceGuard(dir.path()).acquire("Carl"));
    first.release();
    EXPECT_TRUE(InstanceGuard(dir.path()).acquire("Carl"));
    EXPECT_EQ(raised, 1);
}

} // namespace
