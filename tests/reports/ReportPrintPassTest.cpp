#include "reports/ReportPrintPass.h"

#include "reports/DailySummaryReport.h"
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

// Stand-ins that draw on their page and note what the pass hands each report and on which page
// it starts. A week of the log book, the daily summary and the food list take two pages; the
// daily summary of a period without days draws nothing and returns 0.
ReportPrinters notingPrinters(QStringList& calls, bool dailyHasDays = true) {
    // Notes the call, draws, and starts `pages` - 1 more pages in the orientation given.
    const auto note = [&calls](ReportSurface& surface, const QString& call, int pages = 1,
                               QPageLayout::Orientation more = QPageLayout::Landscape) {
        surface.painter().drawText(QPoint(10, 10), call);
        calls << call + QString::asprintf(" on=%d", surface.pageCount());
        for (int i = 1; i < pages; ++i)
            surface.startPage(more);
        return pages;
    };
    const auto args = [](const char* name, std::time_t end, int weeks, ReportStyle style) {
        return QString::asprintf("%s %s weeks=%d %s", name, qPrintable(end ? toDateText(end) : "-"),
                                 weeks, qPrintable(reportStyleName(style)));
    };
    ReportPrinters printers;
    printers.docSummary = [=](ReportSurface& surface, std::time_t end, int weeks,
                              const QString& notes, ReportStyle style, int firstPage) {
        note(surface, args("summary", end, weeks, style) +
                          QString::asprintf(" first=%d notes=%s", firstPage, qPrintable(notes)));
        return firstPage;
    };
    printers.glucoseStats = [=](ReportSurface& surface, std::time_t end, int weeks,
                                ReportStyle style, int page) {
        return note(surface, args("agp", end, weeks, style) + QString(" page=%1").arg(page));
    };
    printers.logDetail = [=](ReportSurface& surface, const QString& patient, std::time_t week,
                             ReportStyle style, int firstPage, bool worksheet) {
        return note(surface,
                    QString::asprintf("%s %s %s %s first=%d", worksheet ? "worksheet" : "logbook",
                                      qPrintable(patient), qPrintable(toDateText(week)),
                                      qPrintable(reportStyleName(style)), firstPage),
                    worksheet ? 1 : 2);
    };
    printers.dailySummary = [=, &calls](ReportSurface& surface, std::time_t end, int weeks,
                                        ReportStyle style, int firstPage) {
        const QString call = args("daily", end, weeks, style) + QString(" first=%1").arg(firstPage);
        if (!dailyHasDays)
            calls << call + " (no days)";
        return dailyHasDays ? firstPage + note(surface, call, 2) - 1 : 0;
    };
    printers.pumpStatus = [=](ReportSurface& surface, std::time_t end, int weeks, ReportStyle style,
                              int page) {
        return note(surface, args("pump", end, weeks, style) + QString(" page=%1").arg(page));
    };
    printers.vitalHistory = [=](ReportSurface& surface, int weeks, ReportStyle style, int first) {
        return note(surface, args("vitals", 0, weeks, style) + QString(" first=%1").arg(first));
    };
    printers.foodList = [=](ReportSurface& surface, ReportStyle style, int first) {
        return note(surface, args("foods", 0, 0, style) + QString(" first=%1").arg(first), 2,
                    QPageLayout::Portrait);
    };
    return printers;
}

// The reports of `which` (D doc summary, a glucose statistics, d day summary, L log book, b BP log,
// p pump status, f food log, W worksheet), with `logWeeks` and `worksheetWeeks`.
ReportPrintSettings settingsWith(const char* which, int logWeeks = 6, int worksheetWeeks = 1) {
    ReportPrintSettings s;
    s.periodEnd = fromDateTimeText("20240310120000");
    s.worksheetStart = fromDateTimeText("20240301090000");
    s.style = ReportStyle::greyscale;
    s.patientNotes = "N";
    const QString w = which;
    s.includeDocSummary = w.contains('D');
    s.includeGlucoseStats = w.contains('a');
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

// Per choice of reports: what the pass returns, each report it asked for, and the orientation
// of every page (L landscape, P portrait).
TEST(ReportPrintPassTest, ReportsComeInOrderWithTheirDatesPageNumbersAndOrientations) {
    QStringList out;
    const std::tuple<const char*, int, int, bool> cases[] = {
        {"", 6, 1, true},         {"LW", 1, 2, true},  {"DdLbpfW", 3, 1, true},
        {"DdLbpfW", 1, 1, false}, {"dp", 2, 1, false}, {"pb", 2, 1, true},
        {"DaLW", 1, 1, true},     {"aL", 1, 1, true},  {"adL", 1, 1, true},
    };
    for (const auto& [which, logWeeks, worksheetWeeks, dailyHasDays] : cases) {
        RecordingSurface surface;
        QStringList calls;
        const int pages = runPrintPass(surface, settingsWith(which, logWeeks, worksheetWeeks),
                                       "Ann", notingPrinters(calls, dailyHasDays));
        QString orientations;
        for (const RecordedPage& page : surface.pages())
            orientations += page.orientation == QPageLayout::Portrait ? 'P' : 'L';
        out << QString::asprintf("= %s, %d log weeks, %d worksheets: returns %d, pages %s", which,
                                 logWeeks, worksheetWeeks, pages, qPrintable(orientations))
            << calls;
        EXPECT_EQ(pages, surface.pageCount());
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

    // Selected, but the daily summary finds no day in the period: it says so and prints no
    // page, so no file is written.
    prompts.expect(kProgramCaption, DailySummaryReport::kNoData);
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
