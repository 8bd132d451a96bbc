#include "cli/ImportJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/CliText.h"
#include "exchange/BgTrackerData.h"
#include "exchange/CgmFormats.h"
#include "exchange/CgmInsulin.h"
#include "exchange/DatabaseImport.h"
#include "exchange/OneTouchData.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <optional>

namespace {

enum class Kind { OneTouch, BgTracker, Database, Cgm };

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
    case Kind::Cgm:
        break;
    }
    return DatabaseImport(app, session.progress()).import(path);
}

void tellWhatWasDone(CliSession& session, Kind kind, const QString& path,
                     const ImportResult& result) {
    session.out() << QStringLiteral("Imported %1 into the logbook of %2: %3 read, %4 stored, %5 "
                                    "summarized.")
                         .arg(QDir::toNativeSeparators(path), session.app().currentUserName(),
                              countOf(result.recordsRead, QStringLiteral("record"),
                                      QStringLiteral("records")),
                              QString::number(result.recordsApplied),
                              countOf(result.daysSummarized, QStringLiteral("day"),
                                      QStringLiteral("days")))
                  << Qt::endl;
    if (kind == Kind::Cgm || result.readingsStored + result.readingsKnown > 0)
        session.out() << QStringLiteral("Stored %1; %2 stored already.")
                             .arg(countOf(result.readingsStored, QStringLiteral("sensor reading"),
                                          QStringLiteral("sensor readings")),
                                  countOf(result.readingsKnown, QStringLiteral("was"),
                                          QStringLiteral("were")))
                      << Qt::endl;
    if (result.linesIgnored > 0)
        session.out() << QStringLiteral("Passed over %1 that %2 not of the format.")
                             .arg(countOf(result.linesIgnored, QStringLiteral("line"),
                                          QStringLiteral("lines")),
                                  result.linesIgnored == 1 ? QStringLiteral("is")
                                                           : QStringLiteral("are"))
                      << Qt::endl;
    if (result.dosesWithoutMedication > 0 && kind == Kind::Cgm)
        session.out() << QStringLiteral("Left out %1 of a kind no medication was chosen for.")
                             .arg(countOf(result.dosesWithoutMedication,
                                          QStringLiteral("insulin dose"),
                                          QStringLiteral("insulin doses")))
                      << Qt::endl;
    else if (result.dosesWithoutMedication > 0)
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

// The medications the export's doses are filed under: the defaults of the import dialog, or
// the codes given with --rapid and --long. Nothing when a given code is not one of the
// patient's insulins (the reason has been written).
std::optional<CgmInsulinChoice> insulinChoice(CliSession& session,
                                              const QCommandLineParser& parser) {
    Database& db = session.app().database();
    CgmInsulinChoice choice = CgmInsulin::defaults(db);
    const struct {
        const char* option;
        const char* kind;
        QString& code;
    } given[] = {{"rapid", "rapid-acting", choice.rapid},
                 {"long", "long-acting", choice.longActing}};
    for (const auto& item : given) {
        if (!parser.isSet(QLatin1String(item.option)))
            continue;
        item.code = parser.value(QLatin1String(item.option)).trimmed().toUpper();
        const QString problem = CgmInsulin::problem(db, item.code, QLatin1String(item.kind));
        if (!problem.isEmpty()) {
            session.fail(QStringLiteral("--%1: %2").arg(QLatin1String(item.option), problem));
            return std::nullopt;
        }
    }
    return choice;
}

} // namespace

int runImportJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments) {
    const ImportKind* kind = nullptr;
    for (const ImportKind& known : kKinds) {
        if (arguments.front() == QLatin1String(known.name))
            kind = &known;
    }
    const CgmFormat* cgm = CgmFormats::find(arguments.front());
    static constexpr ImportKind kCgmKind{"cgm", Kind::Cgm};
    if (cgm)
        kind = &kCgmKind;
    if (!kind)
        return session.fail(QStringLiteral("Unknown kind of file \"%1\": the kinds are onetouch, "
                                           "bgtracker, database, %2.")
                                .arg(arguments.front(), CgmFormats::names()));
    if (!cgm && (parser.isSet(QStringLiteral("rapid")) || parser.isSet(QStringLiteral("long"))))
        return session.fail(QStringLiteral("--rapid and --long go with the CGM exports (%1) only.")
                                .arg(CgmFormats::names()));
    const QString path = QFileInfo(arguments.at(1)).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        return session.fail(
            QString::fromLatin1(ImportTexts::kMissingFile).arg(QDir::toNativeSeparators(path)));

    if (!session.openPatient(CliSession::Access::readWrite))
        return CliExit::failed;
    const int shownBefore = session.prompts().shownOnErr();
    ImportResult result;
    if (cgm) {
        const std::optional<CgmInsulinChoice> insulin = insulinChoice(session, parser);
        if (!insulin)
            return CliExit::failed;
        result = CgmImport(session.app(), session.progress()).importFile(cgm->read, path, *insulin);
    } else {
        result = importFile(session, kind->kind, path);
    }
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
    tellWhatWasDone(session, kind->kind, path, result);
    return CliExit::ok;
}
