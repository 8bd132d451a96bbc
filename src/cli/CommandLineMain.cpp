#include "cli/CommandLineMain.h"

#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "storage/Clock.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

bool startsCommandLine(int argc, char**) {
    return argc > 1;
}

int runCommandLine(int argc, char** argv) {
    // The platform is chosen when the application object is made; a job started from a
    // terminal without a display (a server, a cron job) must not fail for want of one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The job's arguments are taken before the application object sees them: it takes Qt's
    // own options out of the list, and one of them is "--style", which is also ours.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Quillmarch"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    SystemClock clock;
    const CliEnvironment environment{out, err, SettingsTree::defaultPath(), clock};
    CliDispatcher dispatcher(environment);
    const int status = dispatcher.run(arguments);
    out.flush();
    err.flush();
    return status;
}
