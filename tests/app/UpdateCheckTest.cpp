#include "AppTestSupport.h"
#include "app/widgets/UpdateCheckCommand.h"
#include "app/widgets/UpdateFoundDialog.h"
#include "support/GoldenFile.h"
#include "support/LoopbackHttpServer.h"
#include "ui/ModalDriver.h"

#include <QPushButton>

namespace {

// Checks a golden file's lines "INPUT ~ INPUT ~ RESULT", each result computed from its inputs.
void expectRecomputed(const QString& golden, const std::function<QString(QStringList)>& result) {
    QStringList lines;
    const QString path = qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + golden;
    for (const QString& line : QString::fromUtf8(fileBytes(path)).split('\n', Qt::SkipEmptyParts)) {
        const QStringList in = line.split(" ~ ").mid(0, 2);
        lines << (line.startsWith('#') ? line : in.join(" ~ ") + " ~ " + result(in));
    }
    expectGoldenFile(lines, golden);
}

TEST(UpdateEvaluationTest, AnswersAgainstTheRunningVersion) {
    expectRecomputed("app/update_answers.txt", [](const QStringList& in) {
        const UpdateFinding f = evaluateUpdateAnswer(in[1], in[0]);
        return QString("%1 [%2] [%3]").arg(f.available ? "update" : "current", f.win, f.url);
    });
}

class UpdateCheckTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    FixedClock clock{fromDateTimeText("20240310120000")};
    UpdateCheck check{settings, clock};
};

TEST_F(UpdateCheckTest, StartUpAsksAfterFourWeeksOrWithoutADate) {
    expectRecomputed("app/update_reminders.txt", [this](const QStringList& in) {
        settings.setAppString("VersionCheckDate", in[0]);
        clock.set(fromDateTimeText(in[1]));
        if (check.reminderDue()) // asked exactly when due
            prompts.expect("Check for update",
                           "You haven't checked for updates in over two weeks.\n"
                           "Would you like to check now?",
                           PromptAnswer::Yes);
        const auto days = check.daysSinceLastCheck();
        return QString("%1 ~ %2").arg(days ? QString::number(*days) : "none",
                                      check.askToCheck(prompts) ? "ask" : "no");
    });
}

// The window's command: each check sends the same form once, however often it is clicked; the
// day is remembered only for an answer; the browser opens only on "Go Get It!".
TEST_F(UpdateCheckTest, TheWindowCommandAsksTheServerAndShowsTheAnswer) {
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    UpdateCheckCommand command(app, nullptr);
    QStringList opened;
    command.setUrlOpener([&opened](const QUrl& url) { opened << url.toString(); });
    command.setTimeout(300);
    const QByteArray newer =
        LoopbackHttpServer::answer(R"(<?xml?><q7 win="9.9.9.9" url="http://get/q"/>)");
    const char* current = "Your Quillmarch application is current and requires no updates!";
    const QString failed = "Unable to connect to the server at this time";
    const std::pair<QByteArray, QString> cases[] = {
        {newer, "No, Remind me later"},
        {newer, "Go Get It!"},
        {LoopbackHttpServer::answer(R"(<q7 win="0.1" url="u"/>)"), current},
        {LoopbackHttpServer::answer("not a version document"), current},
        {LoopbackHttpServer::answer(R"(<q7 win="9.0" url="u"/>)", "404 Not Found"), failed},
        {QByteArray(), failed}, // takes the connection, never answers
    };
    for (const auto& [response, shows] : cases) {
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20000101"));
        if (response == newer)
            whenModalIs<UpdateFoundDialog>([go = shows == "Go Get It!"](UpdateFoundDialog* d) {
                EXPECT_EQ(d->laterButton()->text(), "No, Remind me later");
                (go ? d->goButton() : d->laterButton())->click();
            });
        else
            prompts.expect("Quillmarch", shows);
        LoopbackHttpServer server(response);
        command.setServerOverride(server.baseAddress());
        command.checkForUpdates();
        command.checkForUpdates(); // a second click while it runs
        EXPECT_TRUE(waitUntil([&command] { return !command.isChecking(); }, 2000));
        EXPECT_EQ(settings.getAppString("VersionCheckDate"),
                  shows == failed ? "20000101" : "20240310");
        const QByteArray request = server.request().toLower();
        EXPECT_EQ(request.count("get /download/q7v4ziz.xml http/1.1\r\n"), 1) << request.data();
        for (const QByteArray& part : QByteArrayList{
                 "\r\ncontent-type: application/x-www-form-urlencoded\r\n",
                 "\r\nuser-agent: httpcall\r\n", "\r\ncache-control: no-cache\r\n",
                 "\r\npragma: no-cache\r\n", "\r\n\r\nver=" + app.getVersionText().toUtf8()})
            EXPECT_TRUE(request.contains(part)) << part.data() << request.data();
    }
    EXPECT_EQ(opened, QStringList{"http://get/q"}); // the dialog's "Go Get It!" only
}

} // namespace
