#include "app/DefaultData.h"
#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "cli/ConsolePrompts.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/Preference.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
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
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const CliEnvironment environment{outStream, errStream, m_settingsPath, m_clock};
        const int status = CliDispatcher(environment).run(QStringList{"quillmarch"} + arguments);
        outStream.flush();
        errStream.flush();
        return {status, out.replace(m_dir.path(), "%DIR%"), err.replace(m_dir.path(), "%DIR%")};
    }

    QTemporaryDir m_dir;
    QString m_settingsPath = m_dir.filePath("settings.ini");
    SilentPrompts m_prompts;
    SettingsTree m_settings{m_settingsPath, m_prompts};
    FixedClock m_clock{fromDateTimeText("20240310120000")};
};

const QString kSeeHelp = "Run \"quillmarch --help\" for the jobs and their options.\n";

TEST_F(CliTest, CommandLinesEndWithTheirStatusAndTexts) {
    struct Case {
        int patients; // 0: none; 1: Ann; 2: Ann and Bob
        QStringList arguments;
        int status;
        QString out;
        QString err;
    };
    const QStringList report{"report",     "physician", "--end",
                             "2024-03-10", "--output",  "%DIR%/out.pdf"};
    const Case cases[] = {
        {1, {"--version"}, 0, "Quillmarch 4.1.0.0\n", ""},
        {1, report, 0, "Wrote 1 page for Ann to %DIR%/out.pdf.\n", ""},
        {2, report + QStringList{"--patient", "Bob", "--style", "bw", "--weeks", "25"}, 0,
         "Wrote 1 page for Bob to %DIR%/out.pdf.\n", ""},
        // Usage errors.
        {1, {}, 2, "", "quillmarch: No job named.\n" + kSeeHelp},
        {1, {"frobnicate"}, 2, "", "quillmarch: Unknown job \"frobnicate\".\n" + kSeeHelp},
        {1, report + QStringList{"--colour"}, 2, "",
         "quillmarch: Unknown option 'colour'.\n" + kSeeHelp},
        {1, report.mid(0, 4), 2, "", "quillmarch: The job report needs --output.\n" + kSeeHelp},
        {1,
         {"report", "physician", "--output", "x.pdf"},
         2,
         "",
         "quillmarch: The job report needs --end.\n" + kSeeHelp},
        {1,
         {"report", "--end", "2024-03-10", "--output", "x.pdf"},
         2,
         "",
         "quillmarch: The job report is written as: report physician,logbook,worksheet.\n" +
             kSeeHelp},
        {1, report + QStringList{"logbook"}, 2, "",
         "quillmarch: The job report is written as: report physician,logbook,worksheet.\n" +
             kSeeHelp},
        {1, report + QStringList{"--weeks"}, 2, "",
         "quillmarch: Missing value after '--weeks'.\n" + kSeeHelp},
        // Errors of the values.
        {1,
         {"report", "physician,daily", "--end", "2024-03-10", "--output", "x.pdf"},
         1,
         "",
         "quillmarch: Unknown report \"daily\": the reports are physician, logbook, worksheet.\n"},
        {1,
         {"report", "physician", "--end", "2024-02-30", "--output", "x.pdf"},
         1,
         "",
         "quillmarch: Bad date \"2024-02-30\" for --end: write the day as YYYY-MM-DD.\n"},
        {1,
         {"report", "physician", "--end", "10.03.2024", "--output", "x.pdf"},
         1,
         "",
         "quillmarch: Bad date \"10.03.2024\" for --end: write the day as YYYY-MM-DD.\n"},
        {1, report + QStringList{"--worksheet-start", "2024-3-1"}, 1, "",
         "quillmarch: Bad date \"2024-3-1\" for --worksheet-start: write the day as "
         "YYYY-MM-DD.\n"},
        {1, report + QStringList{"--weeks", "26"}, 1, "",
         "quillmarch: --weeks takes a whole number of weeks from 1 to 25, not \"26\".\n"},
        {1, report + QStringList{"--weeks", "0"}, 1, "",
         "quillmarch: --weeks takes a whole number of weeks from 1 to 25, not \"0\".\n"},
        {1, report + QStringList{"--worksheet-weeks", "100"}, 1, "",
         "quillmarch: --worksheet-weeks takes a whole number of weeks from 1 to 99, not "
         "\"100\".\n"},
        {1, report + QStringList{"--style", "sepia"}, 1, "",
         "quillmarch: Unknown style \"sepia\": the styles are color, greyscale and bw.\n"},
        {1, report + QStringList{"--notes", QString(256, 'n')}, 1, "",
         "quillmarch: The notes are 256 characters long; at most 255 fit.\n"},
        {1,
         {"report", "physician", "--end", "2024-03-10", "--output", "%DIR%/no/out.pdf"},
         1,
         "",
         "quillmarch: Cannot write the file %DIR%/no/out.pdf: its folder does not exist.\n"},
        {1,
         {"report", "physician", "--end", "2024-03-10", "--output", "%DIR%"},
         1,
         "",
         "quillmarch: Cannot write the file %DIR%: it is a folder.\n"},
        // The patient.
        {2, report + QStringList{"--patient", "Zed"}, 1, "",
         "quillmarch: There is no patient named \"Zed\". The patients are \"Ann\", \"Bob\".\n"},
        {2, report, 1, "",
         "There are 2 patients (\"Ann\", \"Bob\"). Name the patient with --patient NAME.\n"},
        {0, report, 1, "",
         "There is no patient yet. Start the program with its window once to create the first "
         "patient.\n"},
    };
    for (const Case& c : cases) {
        m_dir.remove();
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        if (c.patients > 0)
            addPatient("Ann", "Ann Example");
        if (c.patients > 1)
            addPatient("Bob", "Bob Example");
        const CliRun result = run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.status, c.status) << line;
        EXPECT_EQ(result.out, c.out) << line;
        EXPECT_EQ(result.err, c.err) << line;
        EXPECT_EQ(QFile::exists(m_dir.filePath("out.pdf")), c.out.startsWith("Wrote")) << line;
    }
}

TEST_F(CliTest, HelpListsEveryJobAndOption) {
    const CliRun result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    QFile golden(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/cli/help.txt");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_EQ(result.out, QString::fromUtf8(golden.readAll()));
}

// The report job neither converts nor writes: the files stay as they were to the byte, and a
// file that would need bringing up to date is refused rather than converted.
TEST_F(CliTest, ReportJobWritesNothingButThePdf) {
    addPatient("Ann", "Ann Example");
    const QString db = m_dir.filePath("Ann.db");
    const QByteArray settingsBefore = bytesOf(m_settingsPath);
    const QByteArray dbBefore = bytesOf(db);
    const QStringList report{"report",  "physician,logbook,worksheet", "--end",    "2024-03-10",
                             "--notes", "Seen by the nurse.",          "--output", "%DIR%/out.pdf"};
    EXPECT_EQ(run(report).status, 0);
    EXPECT_EQ(bytesOf(m_settingsPath), settingsBefore);
    EXPECT_EQ(bytesOf(db), dbBefore);

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

// The whole road: the command line writes a real PDF whose text can be read back.
TEST_F(CliTest, WritesAPdfWhoseTextCanBeRead) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is needed";
    addPatient("Ann", "Ann Example");
    const CliRun result = run({"--patient", "Ann", "report", "physician,worksheet", "--end",
                               "2024-03-10", "--style", "greyscale", "--output", "%DIR%/ann.pdf"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "Wrote 2 pages for Ann to %DIR%/ann.pdf.\n");

    QProcess process;
    process.start(pdftotext, {m_dir.filePath("ann.pdf"), "-"});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Ann Example")) << text.toStdString();
    EXPECT_TRUE(text.contains("Physician's Summary")) << text.toStdString();
    EXPECT_TRUE(text.contains("March 10, 2024")) << text.toStdString();
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
        {false, PromptButtons::Ok, PromptIcon::Warning, PromptAnswer::Ok, true},
        {false, PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::No, true},
        {false, PromptButtons::YesNoCancel, PromptIcon::Question, PromptAnswer::Cancel, true},
        {false, PromptButtons::OkCancel, PromptIcon::Warning, PromptAnswer::Cancel, true},
        {true, PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::Yes, false},
        {true, PromptButtons::YesNoCancel, PromptIcon::Question, PromptAnswer::Yes, false},
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
