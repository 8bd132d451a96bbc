#include "reports/ReportPrintPass.h"

// Placeholder until the pass lands: prints nothing.
int runPrintPass(ReportSurface&, const ReportPrintSettings&, const ReportContext&) {
    return 0;
}
