#include "cli/SummarizeJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/CliText.h"
#include "logbook/DaySummary.h"
#include "logbook/LogbookActions.h"

#include <QTextStream>

int runSummarizeJob(CliSession& session, const QCommandLineParser&, const QStringList&) {
    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    CQuillmarchApp& app = session.app();
    // LogbookActions::summarizeCommand in its two steps, so that each count can be told.
    const int removed = LogbookActions(app).retentionCleanUp(session.progress());
    const int summarized = summarizeOutOfDateDays(app.database(), app.medicationLookup(),
                                                  session.progress(), session.prompts());
    if (removed > 0)
        session.out() << QStringLiteral("Removed %1 older than the retention of %2.")
                             .arg(countOf(removed, QStringLiteral("day"), QStringLiteral("days")),
                                  countOf(app.getPreference().getRetainPcDayCnt(),
                                          QStringLiteral("day"), QStringLiteral("days")))
                      << Qt::endl;
    session.out() << QStringLiteral("Summarized %1 in the logbook of %2.")
                         .arg(countOf(summarized, QStringLiteral("day"), QStringLiteral("days")),
                              app.currentUserName())
                  << Qt::endl;
    return CliExit::ok;
}
