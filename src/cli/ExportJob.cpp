#include "cli/ExportJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/OutputFile.h"
#include "exchange/LogExport.h"
#include "storage/Database.h"
#include "storage/DatabaseFile.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

struct ExportFormat {
    const char* name;
    LogExport::Format format;
};
constexpr ExportFormat kFormats[] = {
    {"tab", LogExport::Format::TabDelimited},
    {"text", LogExport::Format::Text},
};

} // namespace

int runExportJob(CliSession& session, const QCommandLineParser&, const QStringList& arguments) {
    const ExportFormat* format = nullptr;
    for (const ExportFormat& known : kFormats) {
        if (arguments.front() == QLatin1String(known.name))
            format = &known;
    }
    if (!format)
        return session.fail(QStringLiteral("Unknown format \"%1\": the formats are tab and text.")
                                .arg(arguments.front()));
    const QString path = QFileInfo(arguments.at(1)).absoluteFilePath();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (const QString problem = outputFileProblem(path); !problem.isEmpty())
        return session.fail(
            QStringLiteral("Cannot write the file %1: %2.").arg(shownPath, problem));

    if (!session.openPatient(CliSession::Access::readOnly))
        return CliExit::failed;
    // With --yes the question below would let a logbook be replaced by text.
    if (DatabaseFile::isDatabaseFile(path))
        return session.fail(
            QStringLiteral("Cannot write the file %1: it is a database file.").arg(shownPath));
    // The window's question, answered by --yes; the window would open its dialog again on no,
    // which here ends the job with nothing written.
    if (QFileInfo::exists(path) &&
        !session.prompts().askYesNo(QStringLiteral("Replace file?"),
                                    QString::fromLatin1(kOverwriteQuestion).arg(shownPath)))
        return session.fail(QStringLiteral("Nothing was written."));

    QString error;
    if (!LogExport::write(session.app().database(), path, format->format, error))
        return session.fail(
            error.isEmpty() ? QStringLiteral("Cannot write the file %1.").arg(shownPath) : error);
    // The window's message without its question: nothing is opened from the command line.
    session.out() << QStringLiteral("Save As completed sucessfully to:\n%1").arg(shownPath)
                  << Qt::endl;
    return CliExit::ok;
}
