#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <sqlite3.h>

namespace {

constexpr int kRecords = 12000;
constexpr int kTimeoutMs = 120000;

// A OneTouch file of glucose, carbohydrate and insulin records, one a minute over the days
// before today, so that none is older than a new patient's retention.
QByteArray largeOneTouchFile() {
    QByteArray text = "TOTAL NUMBER OF RECORDS: " + QByteArray::number(kRecords) + "\r\n";
    const QDate first = QDate::currentDate().addDays(-100);
    for (int i = 0; i < kRecords; ++i) {
        const int minute = i * 3;
        const QDate day = first.addDays(minute / 1440);
        const int type = i % 3 == 0 ? 10 : i % 3 == 1 ? 50 : 30;
        const QByteArray value = type == 10   ? QByteArray::number(70 + i % 180)
                                 : type == 50 ? QByteArray::number(20 + i % 70)
                                              : QByteArrayLiteral("4.5");
        text += QStringLiteral("%1,\"%2\",\"%3:%4:00\",\"%5\",\"\",\"\",\"%6\",\"\",\"0\",\"2\","
                               "\"\",\"\",\"\",\"\",\"\",\"\"\r\n")
                    .arg(i)
                    .arg(day.toString("MM/dd/yyyy"))
                    .arg(minute % 1440 / 60, 2, 10, QLatin1Char('0'))
                    .arg(minute % 60, 2, 10, QLatin1Char('0'))
                    .arg(QString::fromLatin1(value))
                    .arg(type)
                    .toLatin1();
    }
    return text;
}

struct Logbook {
    QString integrity;
    int entries = -1;
    int days = -1;
    bool operator==(const Logbook&) const = default;
};

int countOf(sqlite3* db, const char* statement) {
    sqlite3_stmt* query = nullptr;
    int count = -1;
    if (sqlite3_prepare_v2(db, statement, -1, &query, nullptr) == SQLITE_OK &&
        sqlite3_step(query) == SQLITE_ROW)
        count = sqlite3_column_int(query, 0);
    sqlite3_finalize(query);
    return count;
}

// The file as the next program to open it finds it: opening read-write lets the engine roll
// back what a killed program left in its log.
Logbook readLogbook(const QString& path) {
    Logbook logbook;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &check, nullptr) == SQLITE_OK) {
            while (sqlite3_step(check) == SQLITE_ROW)
                logbook.integrity +=
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        }
        sqlite3_finalize(check);
        logbook.entries = countOf(db, "select count(*) from SAMPLE");
        logbook.days = countOf(db, "select count(*) from SAMPLE_DATE");
    }
    sqlite3_close(db);
    return logbook;
}

class ImportKillTest : public testing::Test {
protected:
    void SetUp() override {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert("QUILLMARCH_SETTINGS", m_dir.filePath("settings.ini"));
        m_environment.insert("HOME", m_dir.path());
        m_environment.insert("XDG_DATA_HOME", m_dir.filePath("data"));
        m_environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    }

    void start(QProcess& program, const QStringList& arguments) {
        program.setProcessEnvironment(m_environment);
        program.start(QUILLMARCH_BINARY, arguments);
        ASSERT_TRUE(program.waitForStarted(kTimeoutMs));
    }

    // Waits until the job has written its first line (the import has begun) or has ended.
    static void waitUntilUnderWay(QProcess& program) {
        while (program.state() == QProcess::Running && program.peek(1).isEmpty())
            program.waitForReadyRead(50);
    }

    // The database as it was before the import, with no log beside it.
    void putBack(const QByteArray& before) {
        for (const char* suffix : {"-wal", "-shm"})
            QFile::remove(m_database + suffix);
        QFile file(m_database);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(before), before.size());
    }

    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    QString m_database;
};

// A command-line import killed at any moment leaves a sound file holding the whole import or
// none of it, and the same import can simply be run again afterwards.
TEST_F(ImportKillTest, AKilledImportLeavesAllOrNothing) {
    QProcess creating;
    start(creating, {"new-patient", "Ann"});
    ASSERT_TRUE(creating.waitForFinished(kTimeoutMs));
    const QString created = QString::fromUtf8(creating.readAllStandardOutput());
    const auto match = QRegularExpression("with the database (.*)\\.\\n").match(created);
    ASSERT_TRUE(match.hasMatch()) << created.toStdString();
    m_database = match.captured(1);
    QFile database(m_database);
    ASSERT_TRUE(database.open(QIODevice::ReadOnly));
    const QByteArray before = database.readAll();
    database.close();
    const Logbook none = readLogbook(m_database);
    ASSERT_EQ(none.integrity, "ok");

    const QString file = m_dir.filePath("large.csv");
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(largeOneTouchFile());
    csv.close();
    const QStringList import{"import", "onetouch", file};

    // The whole import, timed from its first line to its end.
    QProcess whole;
    start(whole, import);
    waitUntilUnderWay(whole);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(whole.waitForFinished(kTimeoutMs));
    const qint64 importMs = timer.elapsed();
    ASSERT_EQ(whole.exitCode(), 0) << whole.readAllStandardError().toStdString();
    const Logbook all = readLogbook(m_database);
    ASSERT_EQ(all.integrity, "ok");
    ASSERT_GT(all.entries, none.entries + kRecords / 2);
    std::cout << "The whole import took " << importMs << " ms after its first line.\n";

    int killedWhileRunning = 0;
    int leftWhole = 0;
    for (const double part : {0.05, 0.2, 0.35, 0.5, 0.65, 0.8, 0.95}) {
        putBack(before);
        QProcess program;
        start(program, import);
        waitUntilUnderWay(program);
        QThread::msleep(static_cast<unsigned long>(part * static_cast<double>(importMs)));
        if (program.state() == QProcess::Running) {
            ++killedWhileRunning;
            program.kill(); // SIGKILL: no clean-up of any kind
        }
        ASSERT_TRUE(program.waitForFinished(kTimeoutMs));
        const Logbook found = readLogbook(m_database);
        EXPECT_EQ(found.integrity, "ok") << "killed after " << part << " of the import";
        EXPECT_TRUE(found == none || found == all)
            << "killed after " << part << " of the import: " << found.entries << " entries, "
            << found.days << " days";
        leftWhole += found == all;
    }
    std::cout << killedWhileRunning << " of 7 runs killed while running; " << leftWhole
              << " left the whole import.\n";
    // Kills at fractions of a measured run land while it runs, unless the machine is far
    // slower or faster than a moment ago; without one such kill the test proves nothing.
    EXPECT_GE(killedWhileRunning, 3);

    // After the last kill, the same import runs to its end (the killed job's lock on the
    // patient is taken over).
    QProcess again;
    start(again, import);
    ASSERT_TRUE(again.waitForFinished(kTimeoutMs));
    EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    EXPECT_EQ(readLogbook(m_database), all);
}

} // namespace
