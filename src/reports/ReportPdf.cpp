#include "reports/ReportPdf.h"

// Placeholder until the PDF writer lands.
ReportPdfResult writeReportPdf(const QString&, const ReportPrintSettings&, const ReportContext&,
                               const QString&) {
    return {false, 0, QStringLiteral("PDF output is not built yet.")};
}
