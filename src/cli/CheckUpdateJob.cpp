#include "cli/CheckUpdateJob.h"

#include "app/UpdateCheck.h"
#include "cli/CliJob.h"
#include "cli/CliSession.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QTextStream>

int runCheckUpdateJob(CliSession& session, const QCommandLineParser& parser, const QStringList&) {
    CQuillmarchApp& app = session.app();
    UpdateCheck check(session.settings(), app.clock());
    if (parser.isSet(QStringLiteral("update-server")))
        check.setServerOverride(parser.value(QStringLiteral("update-server")));
    const QString version = app.getVersionText();

    auto outcome = UpdateCheck::Outcome::Unreachable;
    UpdateFinding finding;
    bool ended = false;
    QEventLoop loop;
    QObject::connect(&check, &UpdateCheck::finished,
                     [&](UpdateCheck::Outcome result, const UpdateFinding& found) {
                         outcome = result;
                         finding = found;
                         ended = true;
                         loop.quit();
                     });
    if (!check.start(version))
        return session.fail(QLatin1String(UpdateCheck::kUnreachableText));
    // The request ends by itself, at the latest when its timeout has passed.
    if (!ended)
        loop.exec();

    switch (outcome) {
    case UpdateCheck::Outcome::Current:
        session.out() << QStringLiteral("Quillmarch %1 is current.").arg(version) << Qt::endl;
        return CliExit::ok;
    case UpdateCheck::Outcome::Available:
        session.out() << QStringLiteral("Update available: %1 at %2").arg(finding.win, finding.url)
                      << Qt::endl;
        return CliExit::updateAvailable;
    case UpdateCheck::Outcome::Unreachable:
        break;
    }
    return session.fail(
        QStringLiteral("%1 (%2).")
            .arg(QLatin1String(UpdateCheck::kUnreachableText), check.serverAddress()));
}
