#include "reports/ReportPrintPass.h"

#include "reports/ReportContext.h"
#include "reports/ReportPdf.h"
#include "reports/ReportPrintSettings.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Stand-ins that note what the pass hands each report and on which page it starts; a week of
// the log book takes two pages, as a busy week does.
struct NotedPrinters {
    QStringList calls;
    ReportPrinters printers;

    NotedPrinters() {
        printers.docSummary = [this](ReportSurface& surface, std::time_t end, int weeks,
                                     const QString& notes, ReportStyle style, int firstPage) {
            calls << QStringLiteral("summary %1 weeks=%2 %3 first=%4 on=%5 notes=%6")
                         .arg(toDateText(end))
                         .arg(weeks)
                         .arg(reportStyleName(style))
                         .arg(firstPage)
                         .arg(surface.pageCount())
                         .arg(notes);
            return firstPage;
        };
        printers.logDetail = [this](ReportSurface& surface, const QString& patient,
                                    std::time_t week, ReportStyle style, int firstPage,
                                    bool worksheet) {
            calls << QStringLiteral("%1 %2 %3 %4 first=%5 on=%6")
                         .arg(worksheet ? "worksheet" : "logbook", patient, toDateText(week),
                              reportStyleName(style))
                         .arg(firstPage)
                         .arg(surface.pageCount());
            if (worksheet)
                return 1;
            surface.startPage(QPageLayout::Landscape);
            return 2;
        };
    }
};

QByteArray utf16(const QString& text) {
    QByteArray bytes("\xfe\xff", 2);
    for (const QChar c : text)
        bytes.append(static_cast<char>(c.unicode() >> 8)).append(static_cast<char>(c.unicode()));
    return bytes;
}

ReportPrintSettings settingsWith(const std::function<void(ReportPrintSettings&)>& choose) {
    ReportPrintSettings settings;
    settings.periodEnd = fromDateTimeText("20240310120000");
    settings.worksheetStart = fromDateTimeText("20240301090000");
    settings.style = ReportStyle::greyscale;
    settings.patientNotes = "N";
    choose(settings);
    return settings;
}

} // namespace

TEST(ReportPrintPassTest, ReportsComeInOrderWithTheirDatesAndPageNumbers) {
    struct Case {
        const char* name;
        std::function<void(ReportPrintSettings&)> choose;
        QStringList calls;
        int pages;
    } cases[] = {
        {"nothing", [](ReportPrintSettings&) {}, {}, 0},
        {"worksheets only",
         [](ReportPrintSettings& s) {
             s.includeWorksheet = true;
             s.worksheetWeeks = 2;
         },
         {"worksheet Ann 20240307 greyscale first=1 on=1",
          "worksheet Ann 20240314 greyscale first=1 on=2"},
         2},
        {"one log book week",
         [](ReportPrintSettings& s) {
             s.includeLogDetail = true;
             s.logWeeks = 1;
         },
         {"logbook Ann 20240310 greyscale first=1 on=1"},
         2},
        {"everything",
         [](ReportPrintSettings& s) {
             s.includeDocSummary = s.includeDaySummary = s.includeLogDetail = true;
             s.includeBpLog = s.includePumpStatus = s.includeFoodLog = true;
             s.includeWorksheet = true;
             s.logWeeks = 3;
         },
         {"summary 20240310 weeks=3 greyscale first=1 on=1 notes=N",
          "logbook Ann 20240310 greyscale first=2 on=2",
          "logbook Ann 20240303 greyscale first=4 on=4",
          "logbook Ann 20240225 greyscale first=6 on=6",
          "worksheet Ann 20240307 greyscale first=1 on=8"},
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotedPrinters noted;
        RecordingSurface surface;
        EXPECT_EQ(runPrintPass(surface, settingsWith(c.choose), "Ann", noted.printers), c.pages);
        EXPECT_EQ(noted.calls, c.calls);
        EXPECT_EQ(surface.pageCount(), c.pages);
        for (const RecordedPage& page : surface.pages())
            EXPECT_EQ(page.orientation, QPageLayout::Landscape);
    }
}

class ReportPdfTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
        context = std::make_unique<TestLogbookContext>(*db, prompts, 1710000000);
    }
    ReportPdfResult write(const QString& path, const ReportPrintSettings& settings) {
        return writeReportPdf(path, settings, ReportContext{*context, "4.1.0.0"}, "Ann's reports");
    }
    QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<TestLogbookContext> context;
};

TEST_F(ReportPdfTest, WritesTheJobWithTitleAndCreator) {
    const QString path = pathOf("reports.pdf");
    const ReportPdfResult result = write(path, settingsWith([](ReportPrintSettings& s) {
                                             s.includeWorksheet = true;
                                             s.worksheetWeeks = 2;
                                         }));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.pages, 2);
    const QByteArray pdf = contents(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 2);
    // The document's title and creator, written as UTF-16 strings.
    EXPECT_TRUE(pdf.contains("/Title (" + utf16("Ann's reports") + ")"));
    EXPECT_TRUE(pdf.contains("/Creator (" + utf16("Quillmarch 4.1.0.0") + ")"));
}

TEST_F(ReportPdfTest, AFailedJobLeavesTheEarlierFileAsItWas) {
    const QString path = pathOf("reports.pdf");
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("good");
    }
    // Selected, but with no page to print yet.
    const ReportPdfResult empty =
        write(path, settingsWith([](ReportPrintSettings& s) { s.includeDaySummary = true; }));
    EXPECT_FALSE(empty.ok);
    EXPECT_FALSE(empty.error.isEmpty());
    EXPECT_EQ(contents(path), "good");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter("reports"),
              QStringList{"reports.pdf"});

    const QString missing = pathOf("no-such-folder/reports.pdf");
    const ReportPdfResult unwritable =
        write(missing, settingsWith([](ReportPrintSettings& s) { s.includeWorksheet = true; }));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_TRUE(unwritable.error.contains(missing)) << unwritable.error.toStdString();
}
