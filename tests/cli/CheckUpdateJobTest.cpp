#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "cli/CommandLineMain.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "support/LoopbackHttpServer.h"
#include "ui/Prompts.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The job runs in-process; its event loop also serves the test's server on this thread.
TEST(CheckUpdateJobTest, SaysTheOutcomeInOneLineWithItsStatus) {
    struct Case {
        QByteArray response; // null: nobody listens at the address
        int status;
        const char* out;
        const char* err;
        const char* checkDate;
    };
    const Case cases[] = {
        {LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get.example/q7"/>)"), 10,
         "Update available: 9.9.9.9 at http://get.example/q7\n", "", "20240310"},
        {LoopbackHttpServer::answer(R"(<q7 win="4.1.0.0" url="http://get.example/q7"/>)"), 0,
         "Quillmarch 4.1.0.0 is current.\n", "", "20240310"},
        {LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9"/>)"), 0,
         "Quillmarch 4.1.0.0 is current.\n", "", "20240310"},
        {LoopbackHttpServer::answer("", "503 Service Unavailable"), 1, "",
         "quillmarch: Unable to connect to the server at this time (%SERVER%).\n", "20000101"},
        {QByteArray(), 1, "",
         "quillmarch: Unable to connect to the server at this time (%SERVER%).\n", "20000101"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        SilentPrompts prompts;
        SettingsTree settings(dir.filePath("settings.ini"), prompts);
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20000101"));
        LoopbackHttpServer server(c.response);
        QString address = server.baseAddress();
        if (c.response.isNull()) {
            QTcpServer closed; // a port that was free a moment ago and is closed again
            ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
            address = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
        }

        FixedClock clock(fromDateTimeText("20240310120000"));
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const CliEnvironment environment{outStream, errStream, settings.filePath(), clock};
        const int status = CliDispatcher(environment)
                               .run({"quillmarch", "check-update", "--update-server", address});
        outStream.flush();
        errStream.flush();
        EXPECT_EQ(status, c.status) << c.out;
        EXPECT_EQ(out.toStdString(), c.out);
        EXPECT_EQ(err.replace(address, "%SERVER%").toStdString(), c.err);
        EXPECT_EQ(settings.getAppString("VersionCheckDate").toStdString(), c.checkDate) << c.out;
    }
}

// The window opens with nothing but the server to ask; any other argument is a job's.
TEST(CheckUpdateJobTest, TheWindowTakesOnlyTheUpdateServer) {
    struct Case {
        std::vector<const char*> arguments;
        bool commandLine;
        const char* server;
    };
    const Case cases[] = {
        {{}, false, ""},
        {{"--update-server", "http://127.0.0.1:8080"}, false, "http://127.0.0.1:8080"},
        {{"--update-server=http://h:1"}, false, "http://h:1"},
        {{"--update-server"}, true, ""},
        {{"check-update", "--update-server", "http://h"}, true, "http://h"},
        {{"--update-server", "http://h", "check-update"}, true, "http://h"},
        {{"--help"}, true, ""},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("quillmarch")};
        for (const char* argument : c.arguments)
            argv.push_back(const_cast<char*>(argument));
        const int argc = static_cast<int>(argv.size());
        EXPECT_EQ(startsCommandLine(argc, argv.data()), c.commandLine) << argc;
        EXPECT_EQ(updateServerArgument(argc, argv.data()).toStdString(), c.server) << argc;
    }
}

} // namespace
