#include "app/InstanceGuard.h"
#include "AppTestSupport.h"

#include <QLockFile>
#include <QProcess>
#include <QSysInfo>

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

TEST(InstanceGuardTest, ALockLeftByAProgramThatDiedIsTakenOver) {
    // A process that has ended leaves its number free.
    QProcess process;
    process.start("true", QStringList());
    ASSERT_TRUE(process.waitForStarted());
    const qint64 deadPid = process.processId();
    ASSERT_TRUE(process.waitForFinished());
    QTemporaryDir dir;
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
