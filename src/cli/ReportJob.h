#pragma once

#include <QStringList>
#include <ctime>
#include <optional>

class CliSession;
class QCommandLineParser;

// The "report" job: prints the chosen reports of the patient into a PDF file, as "Save as
// PDF ..." does, without a window. It only reads: the patient's file is opened read-only and
// no choice is stored in the settings.
int runReportJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments);

// A day written YYYY-MM-DD as the moment the reports take for it: noon, local time. The
// reports step through their days 86400 seconds at a time, and from noon those steps stay on
// the intended day across a change of daylight saving time, which they would not from the end
// of the day. Nothing for any other text.
std::optional<std::time_t> reportDayFromText(const QString& text);
