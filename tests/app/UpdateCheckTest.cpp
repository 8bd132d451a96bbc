#include "app/UpdateCheck.h"
#include "AppTestSupport.h"
#include "app/UpdateEvaluation.h"
#include "app/UpdateRequest.h"
#include "app/widgets/UpdateCheckCommand.h"
#include "app/widgets/UpdateFoundDialog.h"
#include "support/LoopbackHttpServer.h"
#include "ui/ModalDriver.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace {

// ---- What an answer says -------------------------------------------------------------------

struct AnswerCase {
    const char* answer;
    const char* running;
    bool available;
    const char* win;
    const char* url;
};

TEST(UpdateEvaluationTest, ReadsTheNewestVersionAndItsAddress) {
    const AnswerCase cases[] = {
        {R"(<q7 win="4.0.6.0" url="http://get/q7.exe"/>)", "4.0.5.2", true, "4.0.6.0",
         "http://get/q7.exe"},
        {R"(<q7 win="4.0.5.2" url="http://get/q7.exe"/>)", "4.0.5.2", false, "4.0.5.2", ""},
        {R"(<q7 win="4.0.5.1" url="http://get/q7.exe"/>)", "4.0.5.2", false, "4.0.5.1", ""},
        // Plain text: "1" sorts before "9" whatever follows.
        {R"(<q7 win="4.0.9.0" url="u"/>)", "4.0.10.0", true, "4.0.9.0", "u"},
        {R"(<q7 win="4.0.10.0" url="u"/>)", "4.0.9.0", false, "4.0.10.0", ""},
        {R"(<q7 win="4.1.0.0" url="u"/>)", "4.1.0", true, "4.1.0.0", "u"},
        // At the very first character the answer is not read at all.
        {R"(win="9.0.0.0" url="u")", "4.0.5.2", false, "", ""},
        {R"( win="9.0.0.0" url="u")", "4.0.5.2", true, "9.0.0.0", "u"},
        {R"(<q7 win="9.0.0.0"/>)", "4.0.5.2", false, "9.0.0.0", ""},
        {R"(<q7 win="9.0.0.0" url="u/>)", "4.0.5.2", false, "9.0.0.0", ""},
        {R"(<q7 win="9.0.0.0 url="u"/>)", "4.0.5.2", true, "9.0.0.0 url=", "u"},
        {R"(<q7 win="9.0.0.0)", "4.0.5.2", false, "", ""},
        {R"(<q7 version="9.0.0.0" url="u"/>)", "4.0.5.2", false, "", ""},
        {"", "4.0.5.2", false, "", ""},
        {R"(<q7 url="u" win="" />)", "4.0.5.2", false, "", ""},
    };
    for (const AnswerCase& c : cases) {
        const UpdateFinding finding = evaluateUpdateAnswer(c.answer, c.running);
        EXPECT_EQ(finding.available, c.available) << c.answer << " / " << c.running;
        EXPECT_EQ(finding.win.toStdString(), c.win) << c.answer;
        EXPECT_EQ(finding.url.toStdString(), c.url) << c.answer;
    }
}

// ---- The reminder --------------------------------------------------------------------------

class UpdateReminderTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    FixedClock clock{fromDateTimeText("20240310120000")};
    UpdateCheck check{settings, clock};
};

TEST_F(UpdateReminderTest, AsksAfterFourWeeksOrWithoutADate) {
    struct Case {
        const char* stored;
        const char* now;
        long long days; // -1: no date
        bool due;
    };
    const Case cases[] = {
        {"20240212", "20240310120000", 27, false},
        {"20240211", "20240310120000", 28, true},
        {"20240211", "20240310000000", 28, true},
        {"20240310", "20240310120000", 0, false},
        {"20240311", "20240310120000", 0, false}, // half a day ahead truncates to 0
        {"20250101", "20240310120000", -296, false},
        // The clocks go forward on 31 March: 28 calendar days are an hour short.
        {"20240311", "20240408003000", 27, false},
        {"20240311", "20240408013000", 28, true},
        {"20240211123456", "20240310120000", 28, true},
        {"", "20240310120000", -1, true},
        {"2024021", "20240310120000", -1, true},
        {"20241399", "20240310120000", -1, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(settings.setAppString(UpdateCheck::kCheckDateValue, c.stored));
        clock.set(fromDateTimeText(c.now));
        EXPECT_EQ(check.daysSinceLastCheck().value_or(-1), c.days) << c.stored << " " << c.now;
        EXPECT_EQ(check.reminderDue(), c.due) << c.stored << " " << c.now;
    }
}

TEST_F(UpdateReminderTest, AsksOnlyWhenDueAndYesDecides) {
    prompts.expect(
        "Check for update",
        "You haven't checked for updates in over two weeks.\nWould you like to check now?",
        PromptAnswer::Yes);
    EXPECT_TRUE(check.askToCheck(prompts));
    prompts.expect("Check for update", {}, PromptAnswer::No);
    EXPECT_FALSE(check.askToCheck(prompts));
    ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20240301"));
    EXPECT_FALSE(check.askToCheck(prompts));
    EXPECT_EQ(prompts.count(), 2);
}

TEST_F(UpdateReminderTest, TheServerIsTheOverrideElseTheStoredOneElseOurs) {
    EXPECT_EQ(check.serverAddress(), "http://update.quillmarch.org");
    ASSERT_TRUE(settings.setAppString("UpdateServer", "http://mirror.example:8080/"));
    EXPECT_EQ(check.serverAddress(), "http://mirror.example:8080/");
    check.setServerOverride("http://127.0.0.1:9");
    EXPECT_EQ(check.serverAddress(), "http://127.0.0.1:9");
    EXPECT_EQ(UpdateRequest::documentUrl("http://mirror.example:8080//").toString(),
              "http://mirror.example:8080/download/q7v4ziz.xml");
}

// ---- Against a server ----------------------------------------------------------------------

// The head lines of a request (request line first) and its body.
std::pair<QList<QByteArray>, QByteArray> partsOf(const QByteArray& request) {
    const qsizetype headEnd = request.indexOf("\r\n\r\n");
    return {request.left(headEnd).split('\n'),
            headEnd < 0 ? QByteArray() : request.mid(headEnd + 4)};
}

class UpdateServerTest : public UpdateReminderTest {
protected:
    // Runs one check against the server; the outcome, or nothing when it never ended.
    std::optional<UpdateCheck::Outcome> runCheck(LoopbackHttpServer& server) {
        EXPECT_TRUE(server.listening());
        return runCheck(server.baseAddress());
    }
    std::optional<UpdateCheck::Outcome> runCheck(const QString& address) {
        check.setServerOverride(address);
        std::optional<UpdateCheck::Outcome> outcome;
        QObject::connect(&check, &UpdateCheck::finished,
                         [&](UpdateCheck::Outcome ended, const UpdateFinding& found) {
                             outcome = ended;
                             finding = found;
                         });
        EXPECT_TRUE(check.start("4.0.5.2"));
        EXPECT_FALSE(check.start("4.0.5.2")); // one at a time
        waitUntil([&] { return outcome.has_value(); }, 5000);
        check.disconnect();
        return outcome;
    }

    UpdateFinding finding;
};

TEST_F(UpdateServerTest, SendsTheFormWithoutCachesAndReadsTheAnswer) {
    LoopbackHttpServer server(LoopbackHttpServer::answer(
        R"(<?xml version="1.0"?><q7 win="4.0.6.0" url="http://get.example/q7.exe"/>)"));
    ASSERT_EQ(runCheck(server), UpdateCheck::Outcome::Available);
    EXPECT_EQ(finding.win, "4.0.6.0");
    EXPECT_EQ(finding.url, "http://get.example/q7.exe");

    const auto [head, body] = partsOf(server.request());
    ASSERT_FALSE(head.isEmpty());
    EXPECT_EQ(head.front().trimmed(), "GET /download/q7v4ziz.xml HTTP/1.1");
    QList<QByteArray> headers;
    for (const QByteArray& line : head.mid(1))
        headers << line.trimmed().toLower();
    for (const char* expected :
         {"content-type: application/x-www-form-urlencoded", "user-agent: httpcall",
          "cache-control: no-cache", "pragma: no-cache", "content-length: 11"})
        EXPECT_TRUE(headers.contains(expected)) << expected << "\n"
                                                << server.request().toStdString();
    EXPECT_EQ(body, "ver=4.0.5.2");
    EXPECT_EQ(settings.getAppString("VersionCheckDate"), "20240310");
}

// The day is remembered for every answer, and only for an answer.
TEST_F(UpdateServerTest, OnlyAnAnswerIsACheck) {
    struct Case {
        QByteArray response; // null: the server never answers
        UpdateCheck::Outcome outcome;
        bool remembered;
    };
    const Case cases[] = {
        {LoopbackHttpServer::answer(R"(<q7 win="4.0.5.2" url="u"/>)"),
         UpdateCheck::Outcome::Current, true},
        {LoopbackHttpServer::answer("not a version document"), UpdateCheck::Outcome::Current, true},
        {LoopbackHttpServer::answer(R"(<q7 win="5.0" url="u"/>)", "404 Not Found"),
         UpdateCheck::Outcome::Unreachable, false},
        {LoopbackHttpServer::answer("", "500 Internal Server Error"),
         UpdateCheck::Outcome::Unreachable, false},
        {QByteArray(), UpdateCheck::Outcome::Unreachable, false},
    };
    check.setTimeout(300);
    for (const Case& c : cases) {
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20000101"));
        LoopbackHttpServer server(c.response);
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(runCheck(server), c.outcome) << c.response.toStdString();
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(settings.getAppString("VersionCheckDate"), c.remembered ? "20240310" : "20000101")
            << c.response.toStdString();
        EXPECT_EQ(server.connections(), 1);
    }
}

TEST_F(UpdateServerTest, NoServerAtTheAddressIsUnreachable) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    for (const QString& to : {address, QStringLiteral("not an address")})
        EXPECT_EQ(runCheck(to), UpdateCheck::Outcome::Unreachable) << to.toStdString();
    EXPECT_EQ(settings.getAppString("VersionCheckDate"), "");
}

// ---- The window's command ------------------------------------------------------------------

class UpdateCommandTest : public testing::Test {
protected:
    UpdateCommandTest() {
        command->setDownloadQuestion([this](const QString& current, const QString& available) {
            asked << current + " -> " + available;
            return download;
        });
        command->setUrlOpener([this](const QUrl& url) { opened << url.toString(); });
    }
    void TearDown() override { prompts.verify(); }

    // Runs the command against a server that answers `response`; false when it never ended.
    bool runAgainst(const QByteArray& response) {
        LoopbackHttpServer server(response);
        command->setServerOverride(server.baseAddress());
        bool shown = false;
        QObject::connect(command, &UpdateCheckCommand::checkShown, [&shown] { shown = true; });
        command->checkForUpdates();
        EXPECT_TRUE(command->isChecking());
        command->checkForUpdates(); // a second click while it runs
        const bool ended = waitUntil([&shown] { return shown; }, 5000);
        command->disconnect(command, &UpdateCheckCommand::checkShown, nullptr, nullptr);
        EXPECT_EQ(server.connections(), 1);
        return ended;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    FixedClock clock{fromDateTimeText("20240310120000")};
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    QWidget window;
    UpdateCheckCommand* command = new UpdateCheckCommand(app, &window);
    bool download = true;
    QStringList asked;
    QStringList opened;
};

TEST_F(UpdateCommandTest, ANewerVersionIsOfferedAndOpenedOnlyWhenWanted) {
    const QByteArray newer =
        LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get/q"/>)");
    ASSERT_TRUE(runAgainst(newer));
    download = false;
    ASSERT_TRUE(runAgainst(newer));
    const QString offered = app.getVersionText() + " -> 9.9.9.9";
    EXPECT_EQ(asked, QStringList({offered, offered}));
    EXPECT_EQ(opened, QStringList{"http://get/q"});
}

TEST_F(UpdateCommandTest, NoUpdateAndNoServerAreSaid) {
    prompts.expect("Quillmarch", "Your Quillmarch application is current and requires no updates!");
    ASSERT_TRUE(runAgainst(LoopbackHttpServer::answer(R"(<q7 win="0.1" url="u"/>)")));
    command->setTimeout(200);
    prompts.expect("Quillmarch", "Unable to connect to the server at this time");
    ASSERT_TRUE(runAgainst(QByteArray()));
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(UpdateCommandTest, TheReminderStartsTheCheckOnYes) {
    ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20240101"));
    prompts.expect("Check for update", {}, PromptAnswer::No);
    command->remindUpdateCheck();
    EXPECT_FALSE(command->isChecking());
    prompts.expect("Check for update", {}, PromptAnswer::Yes);
    LoopbackHttpServer server{QByteArray()};
    command->setServerOverride(server.baseAddress());
    command->remindUpdateCheck();
    EXPECT_TRUE(command->isChecking());
    EXPECT_TRUE(waitUntil([&server] { return server.request().contains("ver="); }));
}

TEST_F(UpdateCommandTest, TheDialogShowsBothVersionsAndGoGetsIt) {
    // A command of its own, which asks with the real dialog.
    command = new UpdateCheckCommand(app, &window);
    command->setUrlOpener([this](const QUrl& url) { opened << url.toString(); });
    QStringList texts;
    whenModalIs<UpdateFoundDialog>([&texts](UpdateFoundDialog* dialog) {
        texts << dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            texts << label->text();
        texts << dialog->goButton()->text() << dialog->laterButton()->text();
        dialog->goButton()->click();
    });
    ASSERT_TRUE(
        runAgainst(LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get/q"/>)")));
    texts.sort();
    QStringList expected(
        {"Application Update Found", "Current version:", app.getVersionText(),
         "Available version:", "9.9.9.9", "An update for this application is available.",
         "Would you like to download it now?", "Go Get It!", "No, Remind me later"});
    expected.sort();
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(opened, QStringList{"http://get/q"});
}

} // namespace
