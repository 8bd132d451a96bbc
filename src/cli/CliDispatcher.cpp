#include "cli/CliDispatcher.h"

#include "cli/CheckUpdateJob.h"
#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/ExportJob.h"
#include "cli/ImportJob.h"
#include "cli/MaintenanceJobs.h"
#include "cli/NewPatientJob.h"
#include "cli/ReportJob.h"
#include "cli/StatsJob.h"
#include "cli/SummarizeJob.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <span>

namespace {

// Every option of every job, in the order the help lists them.
struct OptionSpec {
    const char* name;
    const char* valueName; // nullptr for a switch
    const char* description;
};
constexpr OptionSpec kOptions[] = {
    {"patient", "NAME",
     "The patient whose logbook the job works on. Without it, the only patient there is; "
     "with several patients it must be given."},
    {"yes", nullptr, "Answer yes to every question the job asks (without it: no)."},
    {"end", "YYYY-MM-DD", "The last day of the report period."},
    {"weeks", "N", "The length of the report period in weeks, 1 to 25 (default 6)."},
    {"worksheet-start", "YYYY-MM-DD", "The day the worksheets begin (default: the day of --end)."},
    {"worksheet-weeks", "N", "The number of weekly worksheets, 1 to 99 (default 1)."},
    {"style", "color|greyscale|bw", "The colour style of the pages (default color)."},
    {"notes", "TEXT",
     "The notes on the physician's summary, at most 255 characters (default: the patient's "
     "stored notes)."},
    {"output", "FILE.pdf", "The PDF file to write."},
    {"rapid", "CODE",
     "The medication code of the insulin a CGM export's rapid-acting doses are filed under "
     "(default: the quick bolus insulin); an empty CODE leaves them out."},
    {"long", "CODE",
     "The medication code of the insulin a CGM export's long-acting doses are filed under "
     "(default: the first active insulin not counted in the totals); an empty CODE leaves them "
     "out."},
    {"json", nullptr, "Write the numbers as one JSON object."},
    {"update-server", "URL",
     "The update server's base address, such as http://host:port (default: the one in the "
     "settings, else http://update.quillmarch.org). Given alone, the window opens and its "
     "update check asks that server."},
    {"help", nullptr, "Show this help and end."},
    {"version", nullptr, "Show the program's version and end."},
};
// The options that go with any job.
constexpr const char* kCommonOptions = "patient yes";

// One entry per job; the help lists them in this order.
constexpr CliJob kJobs[] = {
    {"report", "physician,agp,daily,logbook,bolus,worksheet,vitals,foods|all", 1,
     "Writes the named reports of the patient into a PDF file, as \"Save as PDF ...\" does, in "
     "the order they print in. \"all\" names every report, less the bolus report (quick bolus "
     "and infusion site) while the quick bolus calculator is switched off. Reads the patient's "
     "logbook only; nothing is stored.",
     "end weeks worksheet-start worksheet-weeks style notes output", "end output", &runReportJob},
    {"stats", "", 0,
     "Prints the glucose numbers of the \"Glucose Statistics (AGP)\" page: time in the five "
     "ranges, mean, GMI, standard deviation, coefficient of variation and sensor coverage, from "
     "the sensor readings of the period, or from the meter readings when it has none. The period "
     "ends on --end (default today) and lasts --weeks (default the patient's report weeks). "
     "Reads the patient's logbook only.",
     "end weeks json", "", &runStatsJob},
    {"new-patient", "NAME", 1,
     "Creates a patient with the default time-of-day slots, foods and medications, as \"New "
     "User...\" does. A name another patient has is refused.",
     "", "", &runNewPatientJob},
    {"import", "onetouch|bgtracker|database|clarity|libreview|nightscout FILE", 2,
     "Imports a OneTouch file, a BG Tracker 4 file, another patient's database or a CGM export "
     "(Clarity, LibreView, Nightscout) into the logbook, as File > Import does, and says how many "
     "records were read and stored, how many days summarized and, for a CGM export, how many "
     "sensor readings stored. A file that is refused or fails part way leaves the logbook as it "
     "was.",
     "rapid long", "", &runImportJob},
    {"export", "tab|text FILE", 2,
     "Writes the logbook as tab-delimited or fixed-width text, as \"Save As....\" does, in the "
     "format named whatever the file's extension. An existing file is replaced only with --yes. "
     "The file is written and nothing is opened.",
     "", "", &runExportJob},
    {"backup", "FILE", 1,
     "Makes a copy of the patient's database in FILE, as \"Backup...\" does. An existing file "
     "is replaced only with --yes; the database itself is refused as the copy.",
     "", "", &runBackupJob},
    {"restore", "FILE", 1,
     "Replaces the patient's database with the copy in FILE, as \"Restore...\" does. The file "
     "must be a sound patient database; the file it replaces is kept beside it.",
     "", "", &runRestoreJob},
    {"optimize", "", 0, "Compacts the patient's database, as \"Optimize Database ...\" does.", "",
     "", &runOptimizeJob},
    {"summarize", "", 0,
     "Summarizes every day of the logbook that is out of date, as the view does when it opens. "
     "Days older than the patient's retention are removed first, only with --yes.",
     "", "", &runSummarizeJob},
    {"check-update", "", 0,
     "Asks the update server whether a newer Quillmarch is available, as \"Check for updates\" "
     "does, and says so in one line: the running version when it is current, else the newer "
     "version and where to get it (exit status 10). A server that cannot be reached within 10 "
     "seconds ends the job with status 1.",
     "update-server", "", &runCheckUpdateJob},
};

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString optionSynopsis(const OptionSpec& option) {
    QString text = QStringLiteral("--") + QLatin1String(option.name);
    if (option.valueName)
        text += QLatin1Char(' ') + QLatin1String(option.valueName);
    return text;
}

// The words of `text` in lines of at most `width` characters, each line after the first
// indented by `indent` spaces.
QString wrapped(const QString& text, int indent, int width) {
    QString result;
    int column = indent;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > width) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            result += QLatin1Char(' ');
            ++column;
        }
        result += word;
        column += static_cast<int>(word.size());
    }
    return result;
}

const CliJob* findJob(const QString& name) {
    for (const CliJob& job : kJobs) {
        if (name == QLatin1String(job.name))
            return &job;
    }
    return nullptr;
}

} // namespace

QString CliDispatcher::helpText() {
    QString text;
    QTextStream help(&text);
    help << "Usage: quillmarch [--patient NAME] [--yes] JOB [ARGUMENTS] [OPTIONS]\n"
            "       quillmarch --help | --version\n"
            "       quillmarch [--update-server URL]\n"
            "Without a job the program opens its window.\n\nJobs:\n";
    constexpr int kWidth = 100;
    constexpr int kJobIndent = 6;
    constexpr int kOptionIndent = 34;
    for (const CliJob& job : kJobs) {
        help << "  " << job.name;
        if (*job.arguments)
            help << ' ' << job.arguments;
        QString required = QStringLiteral("Required:");
        QString options = QStringLiteral("Options:");
        const QStringList requiredNames = words(job.required);
        for (const QString& name : words(job.options))
            (requiredNames.contains(name) ? required : options) += QStringLiteral(" --") + name;
        const QString indent(kJobIndent, QLatin1Char(' '));
        help << '\n' << indent << wrapped(QLatin1String(job.summary), kJobIndent, kWidth) << '\n';
        for (const QString& line : {required, options}) {
            if (line.contains(QLatin1Char(' ')))
                help << indent << wrapped(line, kJobIndent, kWidth) << '\n';
        }
    }
    help << "\nOptions:\n";
    for (const OptionSpec& option : kOptions)
        help << "  " << qSetFieldWidth(kOptionIndent - 2) << Qt::left << optionSynopsis(option)
             << qSetFieldWidth(0)
             << wrapped(QLatin1String(option.description), kOptionIndent, kWidth) << '\n';
    help << "\nExit status: 0 done, 1 the job could not be done, 2 a wrong command line; for\n"
            "check-update 0 current, 10 an update is available, 1 no answer from the server.\n";
    return text;
}

int CliDispatcher::usageError(const QString& text) {
    m_environment.err << QStringLiteral("quillmarch: ") << text << Qt::endl
                      << QStringLiteral("Run \"quillmarch --help\" for the jobs and their options.")
                      << Qt::endl;
    return CliExit::usage;
}

int CliDispatcher::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& option : kOptions) {
        parser.addOption(option.valueName ? QCommandLineOption(QLatin1String(option.name),
                                                               QLatin1String(option.description),
                                                               QLatin1String(option.valueName))
                                          : QCommandLineOption(QLatin1String(option.name),
                                                               QLatin1String(option.description)));
    }
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    if (parser.isSet(QStringLiteral("help"))) {
        m_environment.out << helpText() << Qt::flush;
        return CliExit::ok;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        CliSession session(m_environment, false, std::nullopt);
        m_environment.out << QStringLiteral("Quillmarch ") << session.app().getVersionText()
                          << Qt::endl;
        return CliExit::ok;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("No job named."));
    const CliJob* job = findJob(positional.takeFirst());
    if (!job)
        return usageError(
            QStringLiteral("Unknown job \"%1\".").arg(parser.positionalArguments().front()));
    const QString jobName = QLatin1String(job->name);
    if (positional.size() != job->argumentCount) {
        if (job->argumentCount == 0)
            return usageError(
                QStringLiteral("The job %1 takes nothing after its name.").arg(jobName));
        return usageError(QStringLiteral("The job %1 is written as: %1 %2.")
                              .arg(jobName, QLatin1String(job->arguments)));
    }

    const QStringList allowed = words(job->options) + words(kCommonOptions);
    for (const QString& name : parser.optionNames()) {
        if (!allowed.contains(name))
            return usageError(
                QStringLiteral("The job %1 does not take the option --%2.").arg(jobName, name));
    }
    for (const QString& name : words(job->required)) {
        if (!parser.isSet(name))
            return usageError(QStringLiteral("The job %1 needs --%2.").arg(jobName, name));
    }

    std::optional<QString> patient;
    if (parser.isSet(QStringLiteral("patient")))
        patient = parser.value(QStringLiteral("patient"));
    CliSession session(m_environment, parser.isSet(QStringLiteral("yes")), patient);
    return job->run(session, parser, positional);
}
