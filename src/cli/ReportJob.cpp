#include "cli/ReportJob.h"

#include "cli/CliJob.h"
#include "cli/CliSession.h"
#include "cli/OutputFile.h"
#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintSettings.h"
#include "reports/ReportSelection.h"
#include "storage/Conversions.h"

#include <QCommandLineParser>
#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

namespace {

// The names the job's first argument lists, in the order the reports print, with the sheet's
// check box each one ticks.
struct ReportName {
    const char* name;
    bool ReportPrintSettings::*field;
};
constexpr ReportName kReportNames[] = {
    {"physician", &ReportPrintSettings::includeDocSummary},
    {"agp", &ReportPrintSettings::includeGlucoseStats},
    {"daily", &ReportPrintSettings::includeDaySummary},
    {"logbook", &ReportPrintSettings::includeLogDetail},
    {"bolus", &ReportPrintSettings::includePumpStatus},
    {"worksheet", &ReportPrintSettings::includeWorksheet},
    {"vitals", &ReportPrintSettings::includeBpLog},
    {"foods", &ReportPrintSettings::includeFoodLog},
};
const char* const kAllReports = "all";

QString knownReportNames() {
    QStringList names;
    for (const ReportName& report : kReportNames)
        names << QLatin1String(report.name);
    return names.join(QLatin1String(", ")) + QStringLiteral(" and ") + QLatin1String(kAllReports);
}

// The reports a list such as "physician,logbook" names.
struct ReportChoice {
    std::optional<QString> unknown; // the first name that is no report
    bool all = false;               // "all": every report the patient's settings offer
};

// Ticks the reports of the list in `settings`.
ReportChoice selectReports(const QString& list, ReportPrintSettings& settings) {
    ReportChoice choice;
    for (const QString& item : list.split(QLatin1Char(','))) {
        const QString name = item.trimmed();
        const bool all = name == QLatin1String(kAllReports);
        bool known = all;
        choice.all = choice.all || all;
        for (const ReportName& report : kReportNames) {
            if (all || name == QLatin1String(report.name)) {
                settings.*report.field = true;
                known = true;
            }
        }
        if (!known) {
            choice.unknown = name;
            return choice;
        }
    }
    return choice;
}

std::optional<int> weeksFromText(const QString& text, int most) {
    bool ok = false;
    const int weeks = text.toInt(&ok);
    if (!ok || weeks < 1 || weeks > most)
        return std::nullopt;
    return weeks;
}

QString optionName(const char* name) {
    return QStringLiteral("--") + QLatin1String(name);
}

// Reads the job's options into `settings`; the message of the first bad value otherwise.
QString readOptions(const QCommandLineParser& parser, ReportPrintSettings& settings) {
    // A day option read into one of the settings' dates; the message of a bad value otherwise.
    auto readDay = [&parser](const char* option, std::time_t& into) {
        const QString text = parser.value(QLatin1String(option));
        const auto day = reportDayFromText(text);
        if (!day)
            return QStringLiteral("Bad date \"%1\" for %2: write the day as YYYY-MM-DD.")
                .arg(text, optionName(option));
        into = *day;
        return QString();
    };
    if (QString problem = readDay("end", settings.periodEnd); !problem.isEmpty())
        return problem;
    // As on the print sheet, the worksheets begin where the period ends unless told otherwise.
    settings.worksheetStart = settings.periodEnd;
    if (parser.isSet(QStringLiteral("worksheet-start")))
        if (QString problem = readDay("worksheet-start", settings.worksheetStart);
            !problem.isEmpty())
            return problem;

    struct WeekCount {
        const char* option;
        int most;
        int ReportPrintSettings::*field;
    };
    const WeekCount counts[] = {
        {"weeks", ReportPrintSettings::kMaxLogWeeks, &ReportPrintSettings::logWeeks},
        {"worksheet-weeks", ReportPrintSettings::kMaxWorksheetWeeks,
         &ReportPrintSettings::worksheetWeeks},
    };
    for (const WeekCount& count : counts) {
        const QString name = QLatin1String(count.option);
        if (!parser.isSet(name))
            continue;
        const auto weeks = weeksFromText(parser.value(name), count.most);
        if (!weeks)
            return QStringLiteral("%1 takes a whole number of weeks from 1 to %2, not \"%3\".")
                .arg(optionName(count.option))
                .arg(count.most)
                .arg(parser.value(name));
        settings.*count.field = *weeks;
    }

    if (parser.isSet(QStringLiteral("style"))) {
        const QString text = parser.value(QStringLiteral("style"));
        const auto style = parseReportStyle(text);
        if (!style)
            return QStringLiteral("Unknown style \"%1\": the styles are color, greyscale and bw.")
                .arg(text);
        settings.style = *style;
    }

    if (parser.isSet(QStringLiteral("notes"))) {
        // A shell gives line feeds; the notes are kept with the two-character line breaks the
        // notes page stores, which is what keeps an empty line on the printed page.
        static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
        settings.patientNotes =
            parser.value(QStringLiteral("notes")).replace(kLineBreak, QStringLiteral("\r\n"));
        if (settings.patientNotes.size() > ReportPrintSettings::kMaxNotesChars)
            return QStringLiteral("The notes are %1 characters long; at most %2 fit.")
                .arg(settings.patientNotes.size())
                .arg(ReportPrintSettings::kMaxNotesChars);
    }
    return {};
}

} // namespace

std::optional<std::time_t> reportDayFromText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    // The stored dates of the logbook begin in 1900.
    if (!day.isValid() || day.year() < 1900)
        return std::nullopt;
    return fromDateTimeText(day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("120000"));
}

int runReportJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments) {
    ReportPrintSettings settings;
    const ReportChoice choice = selectReports(arguments.front(), settings);
    if (choice.unknown)
        return session.fail(QStringLiteral("Unknown report \"%1\": the reports are %2.")
                                .arg(*choice.unknown, knownReportNames()));
    if (const QString problem = readOptions(parser, settings); !problem.isEmpty())
        return session.fail(problem);
    const QString output = parser.value(QStringLiteral("output"));
    if (const QString problem = outputFileProblem(output); !problem.isEmpty())
        return session.fail(QStringLiteral("Cannot write the file %1: %2.").arg(output, problem));

    if (!session.openPatient(CliSession::Access::readOnly))
        return CliExit::failed;
    CQuillmarchApp& app = session.app();
    // The quick bolus report is offered only while the calculator is switched on, as on the
    // print sheet: "all" leaves it out and says so, naming it alone is refused.
    if (settings.includePumpStatus && !ReportSelection::pumpStatusAvailable(app.database())) {
        if (!choice.all)
            return session.fail(QStringLiteral(
                "The bolus report needs the quick bolus calculator switched on (Quick Bolus "
                "Setup)."));
        settings.includePumpStatus = false;
        session.out() << QStringLiteral("The bolus report is left out: the quick bolus calculator "
                                        "is switched off.")
                      << Qt::endl;
    }
    // Without --notes the physician's summary carries the notes the patient keeps for it.
    if (!parser.isSet(QStringLiteral("notes")))
        settings.patientNotes =
            ReportPrintSettings::storedNotes(session.settings(), app.currentUserName());

    const ReportContext context{app, app.getVersionText()};
    // The same title as the window's "Save as PDF ..." gives the document.
    QString patientName = app.getPreference().getPatientName();
    if (patientName.isEmpty())
        patientName = app.currentUserName();
    const QString title = QStringLiteral("Quillmarch reports for %1").arg(patientName);
    const ReportPdfResult result = writeReportPdf(output, settings, context, title);
    if (!result.ok)
        return session.fail(result.error);
    session.out() << QStringLiteral("Wrote %1 %2 for %3 to %4.")
                         .arg(result.pages)
                         .arg(result.pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"))
                         .arg(app.currentUserName(), output)
                  << Qt::endl;
    return CliExit::ok;
}
