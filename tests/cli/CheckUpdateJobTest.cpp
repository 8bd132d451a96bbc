#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "support/LoopbackHttpServer.h"
#include "ui/Prompts.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

// The server's response, the job's exit status and its standard output then error. The job runs
// in-process; its event loop also serves the test's server on this thread.
TEST(CheckUpdateJobTest, SaysTheOutcomeInOneLineWithItsStatus) {
    const std::tuple<QByteArray, int, const char*> cases[] = {
        {LoopbackHttpServer::answer(R"(<q7 win="9.9.9.9" url="http://get.example/q7"/>)"), 10,
         "Update available: 9.9.9.9 at http://get.example/q7\n"},
        {LoopbackHttpServer::answer(R"(<q7 win="4.1.0.0" url="u"/>)"), 0,
         "Quillmarch 4.1.0.0 is current.\n"},
        {QByteArray(), 1, // nothing listens on port 1: the connection is refused
         "quillmarch: Unable to connect to the server at this time (%SERVER%).\n"},
    };
    for (const auto& [response, status, lines] : cases) {
        QTemporaryDir dir;
        SilentPrompts prompts;
        SettingsTree settings(dir.filePath("settings.ini"), prompts);
        ASSERT_TRUE(settings.setAppString("VersionCheckDate", "20000101"));
        LoopbackHttpServer server(response);
        const QString address =
            response.isNull() ? QStringLiteral("http://127.0.0.1:1") : server.baseAddress();
        FixedClock clock(fromDateTimeText("20240310120000"));
        QString output;
        QTextStream stream(&output);
        EXPECT_EQ(CliDispatcher({stream, stream, settings.filePath(), clock})
                      .run({"quillmarch", "check-update", "--update-server", address}),
                  status);
        EXPECT_EQ(output.replace(address, "%SERVER%").toStdString(), lines);
        EXPECT_EQ(settings.getAppString("VersionCheckDate"), status == 1 ? "20000101" : "20240310");
    }
}

} // namespace
