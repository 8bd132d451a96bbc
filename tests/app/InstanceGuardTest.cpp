#include "app/InstanceGuard.h"
#include "AppTestSupport.h"

#include <QLockFile>
#include <QProcess>
#include <QSysInfo>

namespace {

class InstanceGuardTest : public testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(InstanceGuardTest, ASecondOpeningOfThePatientFailsAndRaisesTheFirst) {
    InstanceGuard first(dir.path());
    InstanceGuard second(dir.path());
    int raised = 0;
    QObject::connect(&first, &InstanceGuard::raiseRequested, [&raised] { ++raised; });

    ASSERT_TRUE(first.acquire("Jo Smith"));
    EXPECT_TRUE(first.isHeld());
    EXPECT_FALSE(second.acquire("Jo Smith"));
    EXPECT_FALSE(second.isHeld());
    EXPECT_TRUE(waitUntil([&raised] { return raised > 0; }));
    EXPECT_EQ(raised, 1);

    // Once the first lets go, the patient can be opened again.
    first.release();
    EXPECT_TRUE(second.acquire("Jo Smith"));
}

TEST_F(InstanceGuardTest, DifferentPatientsDoNotMeetAndAGuardHoldsOnlyItsLastPatient) {
    InstanceGuard jo(dir.path());
    InstanceGuard ann(dir.path());
    InstanceGuard joAgain(dir.path());
    int raised = 0;
    QObject::connect(&jo, &InstanceGuard::raiseRequested, [&raised] { ++raised; });
    EXPECT_TRUE(jo.acquire("Jo Smith"));
    EXPECT_TRUE(ann.acquire("Ann"));
    // Same file name, different patient.
    EXPECT_TRUE(joAgain.acquire("JoSmith"));
    EXPECT_NE(jo.lockFilePath("Jo Smith"), jo.lockFilePath("JoSmith"));
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, 0);

    // Acquiring another patient lets the first go.
    ASSERT_TRUE(jo.acquire("Carl"));
    EXPECT_TRUE(InstanceGuard(dir.path()).acquire("Jo Smith"));
    EXPECT_FALSE(InstanceGuard(dir.path()).acquire("Carl"));
}

TEST_F(InstanceGuardTest, ALockLeftByAProgramThatDiedIsTakenOver) {
    // A process that has ended leaves its number free.
    QProcess process;
    process.start("true", QStringList());
    ASSERT_TRUE(process.waitForStarted());
    const qint64 deadPid = process.processId();
    ASSERT_TRUE(process.waitForFinished());

    InstanceGuard guard(dir.path());
    const QString path = guard.lockFilePath("Jo");
    ASSERT_TRUE(writeFile(path, QByteArray::number(deadPid) + '\n' +
                                    QCoreApplication::applicationName().toUtf8() + '\n' +
                                    QSysInfo::machineHostName().toUtf8() + '\n'));
    EXPECT_TRUE(guard.acquire("Jo"));

    qint64 owner = 0;
    QString host, app;
    ASSERT_TRUE(QLockFile(path).getLockInfo(&owner, &host, &app));
    EXPECT_EQ(owner, QCoreApplication::applicationPid());
}

} // namespace
