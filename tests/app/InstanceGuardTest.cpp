#include "app/InstanceGuard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

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

TEST_F(InstanceGuardTest, DifferentPatientsDoNotMeet) {
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
}

TEST_F(InstanceGuardTest, AcquiringAnotherPatientReleasesTheFirst) {
    InstanceGuard guard(dir.path());
    InstanceGuard other(dir.path());
    ASSERT_TRUE(guard.acquire("Jo"));
    ASSERT_TRUE(guard.acquire("Ann"));
    EXPECT_TRUE(other.acquire("Jo"));
    InstanceGuard third(dir.path());
    EXPECT_FALSE(third.acquire("Ann"));
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
    {
        QFile lock(path);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + '\n' +
                   QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');
    }
    EXPECT_TRUE(guard.acquire("Jo"));

    qint64 owner = 0;
    QString host;
    QString app;
    QLockFile reader(path);
    ASSERT_TRUE(reader.getLockInfo(&owner, &host, &app));
    EXPECT_EQ(owner, QCoreApplication::applicationPid());
}

} // namespace
