#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// The "export" job: writes the patient's logbook as tab-delimited or fixed-width text, as
// "Save As...." does. The format is named on the command line, whatever the file's extension;
// an existing file is replaced only with --yes; the file is not opened afterwards. The logbook
// is only read.
int runExportJob(CliSession& session, const QCommandLineParser& parser,
                 const QStringList& arguments);
