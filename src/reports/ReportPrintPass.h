#pragma once

struct ReportContext;
struct ReportPrintSettings;
class ReportSurface;

// Prints every selected report, in the fixed order, as one job on the surface: physician's
// summary, daily summary, detailed log book (newest week first), quick bolus and infusion site,
// worksheets, vital history, food list. Each report starts on a new page; page numbers run on
// across the summary, the daily summary, the log book and the quick-bolus pages.
// Returns the number of pages printed.
int runPrintPass(ReportSurface& surface, const ReportPrintSettings& settings,
                 const ReportContext& context);
