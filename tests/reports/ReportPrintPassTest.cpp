#include "reports/ReportPrintPass.h"

#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintSettings.h"
#include "storage/Conversions.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

// Stand-ins that note what the pass hands each report and on which page it starts; a week of
// the log book takes two pages, as a busy week does.
ReportPrinters notingPrinters(QStringList& calls) {
    ReportPrinters printers;
    printers.docSummary = [&calls](ReportSurface& surface, std::time_t end, int weeks,
                                   const QString& notes, ReportStyle style, int firstPage) {
        calls << QString::asprintf(
            "summary %s weeks=%d %s first=%d on=%d notes=%s", qPrintable(toDateText(end)), weeks,
            qPrintable(reportStyleName(style)), firstPage, surface.pageCount(), qPrintable(notes));
        return firstPage;
    };
    printers.logDetail = [&calls](ReportSurface& surface, const QString& patient, std::time_t week,
                                  ReportStyle style, int firstPage, bool worksheet) {
        calls << QString::asprintf("%s %s %s %s first=%d on=%d",
                                   worksheet ? "worksheet" : "logbook", qPrintable(patient),
                                   qPrintable(toDateText(week)), qPrintable(reportStyleName(style)),
                                   firstPage, surface.pageCount());
        return worksheet ? 1 : 1 + surface.startPage(QPageLayout::Landscape);
    };
    return printers;
}

// The reports of `which` (D doc summary, d day summary, L log book, b BP log, p pump status,
// f food log, W worksheet), with `logWeeks` and `worksheetWeeks`.
ReportPrintSettings settingsWith(const char* which, int logWeeks = 6, int worksheetWeeks = 1) {
    ReportPrintSettings s;
    s.periodEnd = fromDateTimeText("20240310120000");
    s.worksheetStart = fromDateTimeText("20240301090000");
    s.style = ReportStyle::greyscale;
    s.patientNotes = "N";
    const QString w = which;
    s.includeDocSummary = w.contains('D');
    s.includeDaySummary = w.contains('d');
    s.includeLogDetail = w.contains('L');
    s.includeBpLog = w.contains('b');
    s.includePumpStatus = w.contains('p');
    s.includeFoodLog = w.contains('f');
    s.includeWorksheet = w.contains('W');
    s.logWeeks = logWeeks;
    s.worksheetWeeks = worksheetWeeks;
    return s;
}

} // namespace

// Per choice of reports: what the pass returns, the pages it made, and each report it asked for.
TEST(ReportPrintPassTest, ReportsComeInOrderWithTheirDatesAndPageNumbers) {
    QStringList out;
    for (const auto& [which, logWeeks, worksheetWeeks] :
         {std::tuple("", 6, 1), std::tuple("LW", 1, 2), std::tuple("DdLbpfW", 3, 1)}) {
        RecordingSurface surface;
        QStringList calls;
        const int pages = runPrintPass(surface, settingsWith(which, logWeeks, worksheetWeeks),
                                       "Ann", notingPrinters(calls));
        out << QString::asprintf("= %s, %d log weeks, %d worksheets: returns %d, %d pages", which,
                                 logWeeks, worksheetWeeks, pages, surface.pageCount())
            << calls;
        for (const RecordedPage& page : surface.pages())
            EXPECT_EQ(page.orientation, QPageLayout::Landscape);
    }
    expectGoldenFile(out, "reports/print_pass.txt");
}

class ReportPdfTest : public LogbookTest {
protected:
    ReportPdfResult write(const QString& path, const ReportPrintSettings& settings) {
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
        TestLogbookContext context(*db, prompts, 1710000000);
        return writeReportPdf(path, settings, ReportContext{context, "4.1.0.0"}, "Ann's reports");
    }
};

TEST_F(ReportPdfTest, WritesTheJobAndAFailedJobLeavesTheEarlierFileAsItWas) {
    const QString path = pathOf("reports.pdf");
    const ReportPdfResult result = write(path, settingsWith("W", 6, 2));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.pages, 2);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    file.close();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 2);
    // The document's title and creator, written as UTF-16 strings.
    const auto utf16 = [](const QString& text) -> QByteArray {
        return QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom)(text);
    };
    EXPECT_TRUE(pdf.contains("/Title (" + utf16("Ann's reports") + ")"));
    EXPECT_TRUE(pdf.contains("/Creator (" + utf16("Quillmarch 4.1.0.0") + ")"));

    // Selected, but with no page to print yet.
    const ReportPdfResult empty = write(path, settingsWith("d"));
    EXPECT_FALSE(empty.ok || empty.error.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), pdf);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter("reports"),
              QStringList{"reports.pdf"});

    const QString missing = pathOf("no-such-folder/reports.pdf");
    const ReportPdfResult unwritable = write(missing, settingsWith("W"));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_TRUE(unwritable.error.contains(missing)) << unwritable.error.toStdString();
}
