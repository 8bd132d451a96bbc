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
        const char* output; // standard output, then standard error
        const char* checkDate;
    };
    const Case cases[] = {
        {LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get.example/q7"/>)"), 10,
         "Update available: 9.9.9.9 at http://get.example/q7\n", "20240310"},
        {LoopbackHttpServer::answer(R"(<q7 win="4.1.0.0" url="http://get.example/q7"/>)"), 0,
         "Quillmarch 4.1.0.0 is current.\n", "20240310"},
        {QByteArray(), 1, "quillmarch: Unable to connect to the server at this time (%SERVER%).\n",
         "20000101"},
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
        QString output;
        QTextStream stream(&output);
        const CliEnvironment environment{stream, stream, settings.filePath(), clock};
        EXPECT_EQ(CliDispatcher(environment)
                      .run({"quillmarch", "check-update", "--update-server", address}),
                  c.status);
        stream.flush();
        EXPECT_EQ(output.replace(address, "%SERVER%").toStdString(), c.output);
        EXPECT_EQ(settings.getAppString("VersionCheckDate").toStdString(), c.checkDate);
    }
}

// The window opens with nothing but the server to ask; any other argument is a job's.
TEST(CheckUpdateJobTest, TheWindowTakesOnlyTheUpdateServer) {
    const std::tuple<std::vector<const char*>, bool, const char*> cases[] = {
        {{"quillmarch"}, false, ""},
        {{"quillmarch", "--update-server", "http://127.0.0.1:8080"},
         false,
         "http://127.0.0.1:8080"},
        {{"quillmarch", "--update-server=http://h:1"}, false, "http://h:1"},
        {{"quillmarch", "--update-server"}, true, ""},
        {{"quillmarch", "check-update", "--update-server", "http://h"}, true, "http://h"},
        {{"quillmarch", "--help"}, true, ""},
    };
    for (auto [arguments, commandLine, server] : cases) {
        const int argc = static_cast<int>(arguments.size());
        auto* argv = const_cast<char**>(arguments.data());
        EXPECT_EQ(startsCommandLine(argc, argv), commandLine) << argc;
        EXPECT_EQ(updateServerArgument(argc, argv).toStdString(), server) << argc;
    }
}

} // namespace
