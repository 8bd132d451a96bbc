#include "app/DefaultData.h"
#include "app/InstanceGuard.h"
#include "app/PatientFiles.h"
#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "cli/ConsolePrompts.h"
#include "logbook/DaySummary.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "storage/SampleTable.h"
#include "support/QbScheduleRows.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct CliRun {
    int status;
    QString out;
    QString err;
};

// Command lines run in-process against patients made in a temporary folder, with a settings
// file of their own.
class CliTest : public testing::Test {
protected:
    // A patient as the program makes one: a current database file with the default rows.
    // Made once per name and copied after that, as making one takes many synchronous writes.
    void addPatient(const QString& name, const QString& shownName) {
        static std::map<QString, QByteArray> made;
        const QString path = m_dir.filePath(name + ".db");
        if (!made.count(name)) {
            {
                auto db = Database::openFile(path, m_prompts);
                ASSERT_TRUE(db);
                Preference preference;
                preference.setPatientName(shownName);
                ASSERT_TRUE(DefaultData::initNewDatabase(*db, preference, m_clock));
            }
            made[name] = bytesOf(path);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(made[name]), made[name].size());
        }
        ASSERT_TRUE(m_settings.setUserString(name, "DbPath", path));
    }

    // Runs the arguments; "%DIR%" stands for the temporary folder.
    CliRun run(QStringList arguments) {
        arguments.replaceInStrings("%DIR%", m_dir.path());
        arguments.replaceInStrings("%TESTDATA%", qEnvironmentVariable("QUILLMARCH_TEST_DATA"));
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const CliEnvironment environment{outStream, errStream, m_settingsPath, m_clock};
        const int status = CliDispatcher(environment).run(QStringList{"quillmarch"} + arguments);
        outStream.flush();
        errStream.flush();
        // New patients' files go to the data folder, written "%DATA%" in the expected texts.
        for (QString* text : {&out, &err})
            text->replace(m_dir.path(), "%DIR%")
                .replace(PatientFiles::dataFolder(), "%DATA%")
                .replace(qEnvironmentVariable("QUILLMARCH_TEST_DATA"), "%TESTDATA%");
        return {status, out, err};
    }

    QTemporaryDir m_dir;
    QString m_settingsPath = m_dir.filePath("settings.ini");
    SilentPrompts m_prompts;
    SettingsTree m_settings{m_settingsPath, m_prompts};
    FixedClock m_clock{fromDateTimeText("20240310120000")};
};

QString testData(const QString& name) {
    QFile file(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/cli/" + name);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

QByteArray bytesOfTestData(const QString& name) {
    return bytesOf(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/cli/" + name);
}

// The cases of tests/data/cli/command_lines.txt, each on a folder of its own.
TEST_F(CliTest, CommandLinesEndWithTheirStatusAndTexts) {
    const QStringList lines = testData("command_lines.txt").split('\n');
    int cases = 0;
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (!lines[at].startsWith("run "))
            continue;
        QStringList arguments = lines[at].mid(4).split(' ', Qt::SkipEmptyParts);
        const int patients = arguments.takeFirst().toInt();
        std::vector<QStringList> commands{arguments};
        std::vector<std::pair<QString, QString>> files; // written file, its expected text
        CliRun expected{-1, {}, {}};
        for (++at; at < lines.size() && !lines[at].isEmpty(); ++at) {
            const QString& line = lines[at];
            if (line.startsWith("and "))
                commands.push_back(line.mid(4).split(' ', Qt::SkipEmptyParts));
            else if (line.startsWith("file "))
                files.emplace_back(line.section(' ', 1, 1), line.section(' ', 2).mid(1));
            else if (line.startsWith("status "))
                expected.status = line.mid(7).toInt();
            else
                (line.startsWith("out ") ? expected.out : expected.err) +=
                    line.startsWith("out @") ? testData(line.mid(5)) : line.mid(4) + '\n';
        }
        m_dir.remove();
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        if (patients > 0)
            addPatient("Ann", "Ann Example");
        if (patients > 1)
            addPatient("Bob", "Bob Example");
        CliRun result{-1, {}, {}};
        for (const QStringList& command : commands) {
            const CliRun one = run(command);
            result = {std::max(result.status, one.status), result.out + one.out,
                      result.err + one.err};
        }
        const std::string command =
            lines[at - 1].toStdString() + " ... " + commands.front().join(' ').toStdString();
        EXPECT_EQ(result.status, expected.status) << command;
        EXPECT_EQ(result.out.toStdString(), expected.out.toStdString()) << command;
        EXPECT_EQ(result.err.toStdString(), expected.err.toStdString()) << command;
        EXPECT_EQ(QFile::exists(m_dir.filePath("out.pdf")), result.out.contains("Wrote "));
        for (const auto& [written, golden] : files)
            EXPECT_EQ(bytesOf(m_dir.filePath(written)).toStdString(),
                      golden.isEmpty() ? std::string() : bytesOfTestData(golden).toStdString())
                << command << ": " << written.toStdString();
        ++cases;
    }
    EXPECT_EQ(cases, 76);
}

// A job that writes leaves a patient alone while another running program has it open; one
// that only reads goes ahead.
TEST_F(CliTest, WritingJobsWaitForThePatientToBeClosedElsewhere) {
    addPatient("Ann", "Ann Example");
    const QByteArray before = bytesOf(m_dir.filePath("Ann.db"));
    InstanceGuard window;
    ASSERT_TRUE(window.acquire("Ann"));
    for (const char* job : {"optimize", "summarize"}) {
        const CliRun refused = run({job});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, "quillmarch: The patient \"Ann\" is open in another running "
                               "Quillmarch. Close the patient there, then run the job again.\n");
    }
    EXPECT_EQ(bytesOf(m_dir.filePath("Ann.db")), before);
    EXPECT_EQ(run({"export", "tab", "%DIR%/out.xls"}).status, 0);
    window.release();
    EXPECT_EQ(run({"optimize"}).status, 0);
}

// The report job writes a PDF whose text can be read back and nothing else: the files stay as
// they were to the byte, and a file that would need bringing up to date is refused rather than
// converted.
TEST_F(CliTest, ReportJobWritesNothingButAReadablePdf) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is needed";
    addPatient("Ann", "Ann Example");
    const QString db = m_dir.filePath("Ann.db");
    const QByteArray settingsBefore = bytesOf(m_settingsPath);
    const QByteArray dbBefore = bytesOf(db);
    const QStringList report{"report",   "physician,logbook,worksheet",
                             "--end",    "2024-03-10",
                             "--style",  "greyscale",
                             "--notes",  "Seen by the nurse.",
                             "--output", "%DIR%/out.pdf"};
    const CliRun result = run(report);
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "Wrote 8 pages for Ann to %DIR%/out.pdf.\n");
    EXPECT_EQ(bytesOf(m_settingsPath), settingsBefore);
    EXPECT_EQ(bytesOf(db), dbBefore);
    QProcess process;
    process.start(pdftotext, {m_dir.filePath("out.pdf"), "-"});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char* expected : {"Ann Example", "Physician's Summary", "March 10, 2024"})
        EXPECT_TRUE(text.contains(expected)) << text.toStdString();

    {
        // Vital records from before the weight was kept.
        Database old(db, m_prompts);
        ASSERT_TRUE(old.exec("alter table BLOOD_PRESSURE drop column WEIGHT"));
    }
    const QByteArray oldBefore = bytesOf(db);
    QFile::remove(m_dir.filePath("out.pdf"));
    const CliRun refused = run(report);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "The database file %DIR%/Ann.db is in the layout of an older version of the program "
              "and is only read here, so it cannot be brought up to date. Open the patient in the "
              "program once, then try again.\n");
    EXPECT_EQ(bytesOf(db), oldBefore);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("out.pdf")));
}

// "all" prints every report in the pass's order into one PDF; the bolus report comes with it
// once the calculator is switched on.
TEST_F(CliTest, ReportAllWritesEveryReportInOrder) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is needed";
    addPatient("Ann", "Ann Example");
    {
        Database db(m_dir.filePath("Ann.db"), m_prompts);
        storeQbPreference(db, "H", 180, true);
        Sample entry;
        entry.setSampleTime("20240308073000");
        entry.setGlucoseCnt(132);
        entry.setNewSiteBol(true);
        ASSERT_TRUE(SampleTable::saveWithDay(db, entry, SyncState::Added));
        ASSERT_TRUE(summarizeDayOf(db, "20240308", false, {}));
    }
    const CliRun result =
        run({"report", "all", "--end", "2024-03-10", "--weeks", "1", "--output", "%DIR%/out.pdf"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "Wrote 8 pages for Ann to %DIR%/out.pdf.\n");
    QProcess process;
    process.start(pdftotext, {m_dir.filePath("out.pdf"), "-"});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    qsizetype at = 0;
    for (const char* title :
         {"Physician's Summary", "Glucose Statistics (AGP)", "Ann Example's Daily Summary",
          "Ann Example's Detailed Log Book", "Ann Example's RivezAdozu and Infustion Site Report",
          "Ann Example's Worksheet", "Ann Example's Vital History", "Ann Example's Food Report"}) {
        const qsizetype found = text.indexOf(title, at);
        EXPECT_GE(found, at) << title << " after " << at;
        at = std::max(at, found);
    }
}

// The stats job over a few sensor readings: the numbers of stats_small.txt, worked by hand in
// its comments, as JSON and as text; the job leaves the patient's file as it was.
TEST_F(CliTest, StatsPrintsTheHandComputedNumbers) {
    addPatient("Ann", "Ann Example");
    std::vector<CgmReading> readings;
    QString json;
    QString text;
    for (const QString& line : testData("stats_small.txt").split('\n')) {
        const QStringList f = line.split(' ');
        if (f[0] == "reading")
            readings.push_back({f[1], f[2].toInt(), f[3].toInt(), f[4]});
        else if (f[0] == "json")
            json = line.mid(5) + '\n';
        else if (f[0] == "text")
            text += line.mid(5) + '\n';
    }
    {
        Database db(m_dir.filePath("Ann.db"), m_prompts);
        ASSERT_TRUE(CgmReadingTable::ensureTable(db));
        ASSERT_EQ(CgmReadingTable::insertNew(db, readings), static_cast<int>(readings.size()));
    }
    const QByteArray before = bytesOf(m_dir.filePath("Ann.db"));
    const CliRun asJson = run({"stats", "--end", "2024-03-10", "--weeks", "1", "--json"});
    EXPECT_EQ(asJson.status, 0) << asJson.err.toStdString();
    EXPECT_EQ(asJson.out.toStdString(), json.toStdString());
    const CliRun asText = run({"stats", "--end", "2024-03-10", "--weeks", "1"});
    EXPECT_EQ(asText.status, 0) << asText.err.toStdString();
    EXPECT_EQ(asText.out.toStdString(), text.toStdString());
    EXPECT_EQ(bytesOf(m_dir.filePath("Ann.db")), before);
}

// What a job asks goes to the terminal; only --yes answers yes.
TEST(ConsolePromptsTest, AnswersAndStreams) {
    struct Case {
        bool yes;
        PromptButtons buttons;
        PromptIcon icon;
        PromptAnswer answer;
        bool toErr;
    };
    const Case cases[] = {
        {false, PromptButtons::Ok, PromptIcon::Information, PromptAnswer::Ok, false},
        {false, PromptButtons::Ok, PromptIcon::Error, PromptAnswer::Ok, true},
        {false, PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::No, true},
        {false, PromptButtons::YesNoCancel, PromptIcon::Question, PromptAnswer::Cancel, true},
        {false, PromptButtons::OkCancel, PromptIcon::Warning, PromptAnswer::Cancel, true},
        {true, PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::Yes, false},
        {true, PromptButtons::OkCancel, PromptIcon::Warning, PromptAnswer::Ok, false},
    };
    for (const Case& c : cases) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        ConsolePrompts prompts(outStream, errStream, c.yes);
        EXPECT_EQ(prompts.show("Database", "Line one\r\nline two", c.buttons, c.icon), c.answer);
        const QString& shown = c.toErr ? err : out;
        EXPECT_TRUE(shown.startsWith("Database: Line one\nline two\n")) << shown.toStdString();
        EXPECT_TRUE((c.toErr ? out : err).isEmpty());
    }
    EXPECT_EQ(ConsolePrompts::messageLine("Quillmarch", "Done."), "Done.");
}

} // namespace
