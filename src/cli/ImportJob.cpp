#include "cli/ImportJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/CliText.h"
#include "exchange/BgTrackerData.h"
#include "exchange/DatabaseImport.h"
#include "exchange/OneTouchData.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

enum class Kind { OneTouch, BgTracker, Database };

struct ImportKind {
    const char* name;
    Kind kind;
};
constexpr ImportKind kKinds[] = {
    {"onetouch", Kind::OneTouch},
    {"bgtracker", Kind::BgTracker},
    {"database", Kind::Database},
};

ImportResult importFile(CliSession& session, Kind kind, const QString& path) {
    CQuillmarchApp& app = session.app();
    switch (kind) {
    case Kind::OneTouch:
        return OneTouchData(app, session.progress()).importFile(path);
    case Kind::BgTracker:
        return BgTrackerData(app, session.progress()).importFile(path);
    case Kind::Database:
        break;
    }
    return DatabaseImport(app, session.progress()).import(path);
}

void tellWhatWasDone(CliSession& session, const QString& path, const ImportResult& result) {
    session.out() << QStringLiteral("Imported %1 into the logbook of %2: %3 read, %4 stored, %5 "
                                    "summarized.")
                         .arg(QDir::toNativeSeparators(path), session.app().currentUserName(),
                              countOf(result.recordsRead, QStringLiteral("record"),
                                      QStringLiteral("records")),
                              QString::number(result.recordsApplied),
                              countOf(result.daysSummarized, QStringLiteral("day"),
                                      QStringLiteral("days")))
                  << Qt::endl;
    if (result.linesIgnored > 0)
        session.out() << QStringLiteral("Passed over %1 that %2 not of the format.")
                             .arg(countOf(result.linesIgnored, QStringLiteral("line"),
                                          QStringLiteral("lines")),
                                  result.linesIgnored == 1 ? QStringLiteral("is")
                                                           : QStringLiteral("are"))
                      << Qt::endl;
    if (result.dosesWithoutMedication > 0)
        session.out() << QStringLiteral("Left out %1 of a medication that is not known and could "
                                        "not be made: every medication code is taken.")
                             .arg(countOf(result.dosesWithoutMedication,
                                          QStringLiteral("insulin dose"),
                                          QStringLiteral("insulin doses")))
                      << Qt::endl;
    if (result.skippedByRetention > 0) {
        // The window's one message after the import, then how many it concerns.
        session.prompts().information(QLatin1String(kProgramCaption),
                                      QLatin1String(ImportTexts::kRetention));
        session.out() << QStringLiteral("Left out %1 older than the retention of %2.")
                             .arg(countOf(result.skippedByRetention, QStringLiteral("record"),
                                          QStringLiteral("records")),
                                  countOf(session.app().getPreference().getRetainPcDayCnt(),
                                          QStringLiteral("day"), QStringLiteral("days")))
                      << Qt::endl;
    }
}

} // namespace

int runImportJob(CliSession& session, const QCommandLineParser&, const QStringList& arguments) {
    const ImportKind* kind = nullptr;
    for (const ImportKind& known : kKinds) {
        if (arguments.front() == QLatin1String(known.name))
            kind = &known;
    }
    if (!kind)
        return session.fail(
            QStringLiteral("Unknown kind of file \"%1\": the kinds are onetouch, bgtracker and "
                           "database.")
                .arg(arguments.front()));
    const QString path = QFileInfo(arguments.at(1)).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        return session.fail(
            QString::fromLatin1(ImportTexts::kMissingFile).arg(QDir::toNativeSeparators(path)));

    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    const int shownBefore = session.prompts().shownOnErr();
    const ImportResult result = importFile(session, kind->kind, path);
    if (!result.ok) {
        // The database import shows its failures as they happen, as in the window; what has
        // not been shown yet is written here.
        const bool shown = session.prompts().shownOnErr() != shownBefore;
        if (!shown && !result.error.isEmpty())
            session.fail(result.error);
        if (kind->kind == Kind::Database || (!shown && result.error.isEmpty()))
            session.fail(QLatin1String(ImportTexts::kImportFailed));
        return CliExit::failed;
    }
    tellWhatWasDone(session, path, result);
    return CliExit::ok;
}
