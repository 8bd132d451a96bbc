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

class UpdateCheckTest : public testing::Test {
protected:
    void TearDown() override { prompts.verify(); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsTree settings{dir.filePath("settings.ini"), prompts};
    FixedClock clock{fromDateTimeText("20240310120000")};
    UpdateCheck check{settings, clock};
};

TEST_F(UpdateCheckTest, TheAnswersAndTheStartUpReminderFollowTheirTables) {
    expectRecomputed("app/update_answers.txt", [](const QStringList& in) {
        const UpdateFinding f = evaluateUpdateAnswer(in[1], in[0]);
        return QString("%1 [%2] [%3]").arg(f.available ? "update" : "current", f.win, f.url);
    });
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

// The window's command against each server behaviour: the form, the day, the message, the browser.
TEST_F(UpdateCheckTest, TheWindowCommandAsksTheServerAndShowsTheAnswer) {
    NoProgress progress;
    ScriptedAppDialogs dialogs;
    CQuillmarchApp app{settings, prompts, progress, dialogs, clock};
    UpdateCheckCommand command(app, nullptr);
    QStringList opened;
    command.setUrlOpener([&opened](const QUrl& url) { opened << url.toString(); });
    command.setTimeout(300);
    const QByteArray newer = LoopbackHttpServer::answer(R"(<q7 win="9.9" url="http://get/q"/>)");
    const QString failed = "Unable to connect to the server at this time";
    const std::pair<QByteArray, QString> cases[] = {
        {newer, "No, Remind me later"},
        {newer, "Go Get It!"},
        {LoopbackHttpServer::answer("not a version document"), // an answer all the same
         "Your Quillmarch application is current and requires no updates!"},
        {LoopbackHttpServer::answer("Not Found", "404 Not Found"), // the server was reached
         "Your Quillmarch application is current and requires no updates!"},
        {QByteArray(), failed}, // takes the connection, never answers
    };
    for (const auto& [response, shows] : cases) {
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", ""));
        if (response == newer)
            whenModalIs<UpdateFoundDialog>([button = shows](UpdateFoundDialog* d) {
                (d->goButton()->text() == button ? d->goButton() : d->laterButton())->click();
            });
        else
            prompts.expect("Quillmarch", shows);
        LoopbackHttpServer server(response);
        command.setServerOverride(server.baseAddress());
        command.checkForUpdates();
        command.checkForUpdates(); // a second click while it runs
        EXPECT_TRUE(waitUntil([&command] { return !command.isChecking(); }, 2000));
        EXPECT_EQ(settings.getAppString("VersionCheckDate"), shows == failed ? "" : "20240310");
        const QByteArray request = server.request().toLower();
        for (const QByteArray& part : QByteArrayList{
                 "get /download/q7v4ziz.xml http/1.1\r\n",
                 "\r\ncontent-type: application/x-www-form-urlencoded\r\n",
                 "\r\nuser-agent: httpcall\r\n", "\r\ncache-control: no-cache\r\n",
                 "\r\npragma: no-cache\r\n", "\r\n\r\nver=" + app.getVersionText().toUtf8()})
            EXPECT_EQ(request.count(part), 1) << part.data() << request.data(); // one request
    }
    EXPECT_EQ(opened, QStringList{"http://get/q"}); // the dialog's "Go Get It!" only
}

} // namespace
