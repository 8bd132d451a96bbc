#include "cli/CommandLineMain.h"

#include "app/SettingsTree.h"
#include "cli/CliDispatcher.h"
#include "storage/Clock.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr const char* kUpdateServerOption = "--update-server";

} // namespace

bool startsCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    // The window's only option: the server its update check asks.
    if (argc == 2)
        return !first.startsWith(QLatin1String(kUpdateServerOption) + QLatin1Char('=')) &&
               openedFileArgument(argc, argv).isEmpty();
    return !(argc == 3 && first == QLatin1String(kUpdateServerOption));
}

QString openedFileArgument(int argc, char** argv) {
    // A desktop opening a file starts the program with its path alone; a job's name is never
    // the name of an existing file here, since jobs are plain words and files are given whole.
    if (argc != 2)
        return QString();
    const QString argument = QString::fromLocal8Bit(argv[1]);
    if (argument.startsWith(QLatin1Char('-')) || !argument.contains(QLatin1Char('.')) ||
        !QFileInfo(argument).isFile())
        return QString();
    return argument;
}

QString updateServerArgument(int argc, char** argv) {
    const QString option = QLatin1String(kUpdateServerOption);
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == option && i + 1 < argc)
            return QString::fromLocal8Bit(argv[i + 1]);
        if (argument.startsWith(option + QLatin1Char('=')))
            return argument.mid(option.size() + 1);
    }
    return QString();
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
