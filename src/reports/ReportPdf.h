#pragma once

#include <QString>

struct ReportContext;
struct ReportPrintSettings;

struct ReportPdfResult {
    bool ok = false;
    int pages = 0;
    QString error; // why the file could not be written
};

// Runs the print pass for the selected reports into a PDF file (landscape unless a report asks
// for portrait), with the document's title and creator set.
ReportPdfResult writeReportPdf(const QString& path, const ReportPrintSettings& settings,
                               const ReportContext& context, const QString& title);
