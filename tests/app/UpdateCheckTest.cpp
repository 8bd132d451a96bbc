#include "app/UpdateCheck.h"
#include "AppTestSupport.h"
#include "app/UpdateRequest.h"
#include "app/widgets/UpdateCheckCommand.h"
#include "app/widgets/UpdateFoundDialog.h"
#include "support/GoldenFile.h"
#include "support/LoopbackHttpServer.h"
#include "ui/ModalDriver.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Each case of a golden file's lines "INPUT ~ INPUT ~ ... ~ RESULT", the result computed
// again from the inputs.
QStringList recomputed(const QString& golden, int inputs,
                       const std::function<QString(const QStringList&)>& result) {
    QFile file(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + golden);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(" ~ ").mid(0, inputs);
        lines << (line.startsWith('#') ? line : fields.join(" ~ ") + " ~ " + result(fields));
    }
    return lines;
}

TEST(UpdateEvaluationTest, AnswersAgainstTheRunningVersion) {
    expectGoldenFile(recomputed("app/update_answers.txt", 2,
                                [](const QStringList& in) {
                                    const UpdateFinding f = evaluateUpdateAnswer(in[1], in[0]);
                                    return QString("%1 [%2] [%3]")
                                        .arg(f.available ? "update" : "current", f.win, f.url);
                                }),
                     "app/update_answers.txt");
}

class UpdateCheckTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    // Runs one check against the address; the outcome, or nothing when it never ended.
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

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    FixedClock clock{fromDateTimeText("20240310120000")};
    UpdateCheck check{settings, clock};
    UpdateFinding finding;
};

TEST_F(UpdateCheckTest, StartUpAsksAfterFourWeeksOrWithoutADate) {
    expectGoldenFile(recomputed("app/update_reminders.txt", 2,
                                [this](const QStringList& in) {
                                    settings.setAppString("VersionCheckDate", in[0]);
                                    clock.set(fromDateTimeText(in[1]));
                                    const auto days = check.daysSinceLastCheck();
                                    return QString("%1 ~ %2").arg(
                                        days ? QString::number(*days) : "none",
                                        check.reminderDue() ? "ask" : "no");
                                }),
                     "app/update_reminders.txt");
    prompts.expect(
        "Check for update",
        "You haven't checked for updates in over two weeks.\nWould you like to check now?",
        PromptAnswer::Yes);
    EXPECT_TRUE(check.askToCheck(prompts));
    prompts.expect("Check for update", {}, PromptAnswer::No);
    EXPECT_FALSE(check.askToCheck(prompts));
    ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20240301"));
    EXPECT_FALSE(check.askToCheck(prompts)); // not due: not asked
}

TEST_F(UpdateCheckTest, TheServerIsTheOverrideElseTheStoredOneElseOurs) {
    EXPECT_EQ(check.serverAddress(), "http://update.quillmarch.org");
    ASSERT_TRUE(settings.setAppString("UpdateServer", "http://mirror.example:8080/"));
    EXPECT_EQ(UpdateRequest::documentUrl(check.serverAddress()).toString(),
              "http://mirror.example:8080/download/q7v4ziz.xml");
    check.setServerOverride("http://127.0.0.1:9");
    EXPECT_EQ(check.serverAddress(), "http://127.0.0.1:9");
}

TEST_F(UpdateCheckTest, SendsTheFormWithoutCachesAndReadsTheAnswer) {
    LoopbackHttpServer server(LoopbackHttpServer::answer(
        R"(<?xml version="1.0"?><q7 win="4.0.6.0" url="http://get.example/q7.exe"/>)"));
    ASSERT_EQ(runCheck(server.baseAddress()), UpdateCheck::Outcome::Available);
    EXPECT_EQ(finding.url, "http://get.example/q7.exe");
    const QByteArray request = server.request().toLower();
    EXPECT_TRUE(request.startsWith("get /download/q7v4ziz.xml http/1.1\r\n")) << request.data();
    for (const char* line :
         {"\r\ncontent-type: application/x-www-form-urlencoded\r\n", "\r\nuser-agent: httpcall\r\n",
          "\r\ncache-control: no-cache\r\n", "\r\npragma: no-cache\r\n", "\r\n\r\nver=4.0.5.2"})
        EXPECT_TRUE(request.contains(line)) << line << request.data();
    EXPECT_TRUE(request.endsWith("\r\n\r\nver=4.0.5.2"));
    EXPECT_EQ(settings.getAppString("VersionCheckDate"), "20240310");
}

// The day is remembered for every answer, and only for an answer.
TEST_F(UpdateCheckTest, OnlyAnAnswerIsACheck) {
    using Outcome = UpdateCheck::Outcome;
    const std::pair<QByteArray, Outcome> cases[] = {
        {LoopbackHttpServer::answer(R"(<q7 win="4.0.5.2" url="u"/>)"), Outcome::Current},
        {LoopbackHttpServer::answer("not a version document"), Outcome::Current},
        // A server that answers with an error page was reached: no version in it, no update.
        {LoopbackHttpServer::answer("Not Found", "404 Not Found"), Outcome::Current},
        {QByteArray(), Outcome::Unreachable}, // takes the connection, never answers
    };
    check.setTimeout(300);
    for (const auto& [response, outcome] : cases) {
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20000101"));
        LoopbackHttpServer server(response);
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(runCheck(server.baseAddress()), outcome) << response.data();
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(settings.getAppString("VersionCheckDate"),
                  outcome == Outcome::Current ? "20240310" : "20000101");
    }
}

// The window's command: the dialog, the browser only on "Go Get It!", the messages, the
// reminder, and one request however often it is clicked.
TEST_F(UpdateCheckTest, TheWindowCommandShowsTheAnswer) {
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    QWidget window;
    auto* command = new UpdateCheckCommand(app, &window);
    QStringList opened;
    command->setUrlOpener([&opened](const QUrl& url) { opened << url.toString(); });
    command->setTimeout(300);
    const auto run = [command](const QByteArray& response) {
        LoopbackHttpServer server(response);
        command->setServerOverride(server.baseAddress());
        bool shown = false;
        QObject::connect(command, &UpdateCheckCommand::checkShown, [&shown] { shown = true; });
        command->checkForUpdates();
        command->checkForUpdates(); // a second click while it runs
        EXPECT_TRUE(waitUntil([&shown] { return shown; }, 5000));
        command->disconnect(command, &UpdateCheckCommand::checkShown, nullptr, nullptr);
        EXPECT_EQ(server.connections(), 1);
    };

    const QByteArray newer =
        LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get/q"/>)");
    QStringList texts;
    for (const bool go : {true, false}) {
        whenModalIs<UpdateFoundDialog>([&texts, go](UpdateFoundDialog* dialog) {
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                texts << label->text();
            texts << dialog->windowTitle() << dialog->goButton()->text()
                  << dialog->laterButton()->text();
            (go ? dialog->goButton() : dialog->laterButton())->click();
        });
        run(newer);
    }
    QStringList expected{"Application Update Found",
                         "An update for this application is available.",
                         "Current version:",
                         app.getVersionText(),
                         "Available version:",
                         "9.9.9.9",
                         "Would you like to download it now?",
                         "Go Get It!",
                         "No, Remind me later"};
    expected += expected; // once per dialog
    expected.sort();
    texts.sort();
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(opened, QStringList{"http://get/q"});

    prompts.expect("Quillmarch", "Your Quillmarch application is current and requires no updates!");
    run(LoopbackHttpServer::answer(R"(<q7 win="0.1" url="u"/>)"));
    prompts.expect("Check for update", {}, PromptAnswer::Yes);
    prompts.expect("Quillmarch", "Unable to connect to the server at this time");
    ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20240101"));
    LoopbackHttpServer silent{QByteArray()};
    command->setServerOverride(silent.baseAddress());
    command->remindUpdateCheck();
    EXPECT_TRUE(command->isChecking());
    EXPECT_TRUE(waitUntil([command] { return !command->isChecking(); }));
}

} // namespace
