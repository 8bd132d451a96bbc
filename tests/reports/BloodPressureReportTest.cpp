#include "reports/BloodPressureReport.h"
#include "reports/BloodPressureData.h"
#include "reports/ReportContext.h"
#include "storage/BloodPressureTable.h"
#include "support/GoldenFile.h"
#include "support/LogbookTest.h"
#include "support/RecordingSurface.h"
#include "support/TestLogbookContext.h"

namespace {

// Friday 16 March 2007, 09:05: with one week the period takes vitals after 8 March.
const std::time_t kNow = fromDateTimeText("20070316090500");

class BloodPressureReportTest : public LogbookTest {
protected:
    void SetUp() override {
        LogbookTest::SetUp();
        ASSERT_TRUE(BloodPressureTable::createTable(*db));
        changePreference([](Preference& p) { p.setPatientName("Ann"); });
    }

    void vital(const char* time, int systolic, int diastolic, int pulse = 0,
               const char* weight = "", const char* note = "", int state = 10) {
        BloodPressure bp;
        bp.setBpTime(time);
        bp.setSystolic(systolic);
        bp.setDiastolic(diastolic);
        bp.setPulse(pulse);
        bp.setWeight(weight);
        if (*note)
            bp.setNotePk(addNote(note, NoteType::Vital));
        ASSERT_TRUE(BloodPressureTable::save(*db, bp, state));
    }
    // The default thresholds: systolic 120 / 140, diastolic 80 / 90.
    void fillWeek() {
        vital("20070308235900", 150, 95, 70, "80", "left out");
        vital("20070309000000", 119, 79);
        vital("20070312071500", 120, 80, 64, "81.5", "After the run\nslept badly");
        vital("20070315193000", 140, 90, 72, "82", "Dizzy");
        vital("20070314080000", 139, 89, 0, "", "");
        vital("20070313080000", 180, 110, 90, "", "", 30); // deleted
    }

    BloodPressureData gather(int weeks) {
        TestLogbookContext context(*db, prompts, kNow);
        return BloodPressureData::gather(context, weeks);
    }
    int print(RecordingSurface& surface, QPageLayout::Orientation orientation, ReportStyle style) {
        TestLogbookContext context(*db, prompts, kNow);
        ReportContext reportContext{context, QStringLiteral("4.1.0.0")};
        EXPECT_TRUE(surface.startPage(orientation));
        const int pages = BloodPressureReport(reportContext).print(surface, 1, style, 1);
        EXPECT_TRUE(surface.finish());
        return pages;
    }
    static int count(const RecordedPage& page, const QString& text) {
        return static_cast<int>(page.textList().count(text));
    }
};

} // namespace

TEST_F(BloodPressureReportTest, GathersTheWeekNewestFirstWithClassesPulseAndNotes) {
    fillWeek();
    const BloodPressureData data = gather(1);
    EXPECT_EQ(data.title, "Ann's Vital History");
    EXPECT_EQ(data.periodText, "March 09, 2007 through March 16, 2007");
    EXPECT_EQ(data.after, "2007030899999999");
    // P plain, M moderate, H high: each threshold counts from its own value up.
    QStringList rows;
    for (const auto& r : data.rows)
        rows << QString("%1|%2%3|%4%5|%6|%7|%8")
                    .arg(r.time)
                    .arg(r.systolic)
                    .arg("PMH"[int(r.systolicClass)])
                    .arg(r.diastolic)
                    .arg("PMH"[int(r.diastolicClass)])
                    .arg(r.pulse, r.weight, r.hasNote ? "note" : "-");
    EXPECT_EQ(
        rows,
        QStringList({"Thu Mar 15 19:30|140H|90H|72|82|note", "Wed Mar 14 08:00|139M|89M|||-",
                     "Mon Mar 12 07:15|120M|80M|64|81.5|note", "Fri Mar 09 00:00|119P|79P|||-"}));
    EXPECT_EQ(data.notes, "\nMar 15 19:30 Dizzy\nMar 12 07:15 After the run\nslept badly");
    EXPECT_EQ(gather(2).rows.back().time, "Thu Mar 08 23:59");
}

TEST_F(BloodPressureReportTest, PortraitPageInColour) {
    fillWeek();
    RecordingSurface surface;
    EXPECT_EQ(print(surface, QPageLayout::Portrait, ReportStyle::color), 1);
    const RecordedPage& page = surface.page(0);
    EXPECT_EQ(count(page, "Date/Time"), 2);
    EXPECT_EQ(count(page, "Blood Pressure"), 2);
    EXPECT_FALSE(page.findText("150"));
    // A moderate value in blue ink, a high one white on a blue fill.
    EXPECT_EQ(page.findText("120")->color, QColor(0, 0, 255));
    EXPECT_EQ(page.findText("140")->color, QColor(255, 255, 255));
    EXPECT_EQ(page.findText("119")->color, QColor(0, 0, 0));
    expectGoldenFile(surface.dump(), "reports/vital_history_portrait.txt");
}

TEST_F(BloodPressureReportTest, LandscapePageInGreyHasThreeColumns) {
    fillWeek();
    RecordingSurface surface;
    EXPECT_EQ(print(surface, QPageLayout::Landscape, ReportStyle::greyscale), 1);
    const RecordedPage& page = surface.page(0);
    EXPECT_EQ(count(page, "Date/Time"), 3);
    EXPECT_EQ(page.findText("120")->color, QColor(0, 0, 0));
    expectGoldenFile(surface.dump(), "reports/vital_history_landscape.txt");
}

// A short printable area: forty vitals need a second table page, and the notes go on to a
// third page under a band of their own.
TEST_F(BloodPressureReportTest, VitalsAndNotesGoOnToFurtherPortraitPages) {
    for (int i = 0; i < 40; ++i)
        vital(qPrintable(QString::asprintf("200703%02d%02d%02d00", 15 - i / 8, 7 + i % 8, i)),
              110 + i, 70 + i / 2, 60 + i, "",
              i % 3 ? "" : qPrintable(QString("Note %1 ").arg(i).repeated(6 + i)));
    RecordingSurface surface(
        RecordingSurface::Device{300, {2480, 3508}, 1 << 24, QRect(0, 0, 2480, 1200)});
    const int pages = print(surface, QPageLayout::Portrait, ReportStyle::blackAndWhite);
    EXPECT_EQ(pages, surface.pageCount());
    ASSERT_GE(pages, 3);
    for (int i = 0; i < pages; ++i) {
        const RecordedPage& page = surface.page(i);
        EXPECT_EQ(page.orientation, QPageLayout::Portrait);
        EXPECT_TRUE(page.findText(QString("Page %1 ").arg(i + 1)));
        EXPECT_TRUE(page.findText("Ann's Vital History"));
        for (const RecordedFill& fill : page.fills)
            EXPECT_TRUE(fill.color == Qt::white || fill.color == Qt::black)
                << qPrintable(fill.color.name());
    }
    // Newest first: the first vital of the second page follows the last of the first.
    EXPECT_TRUE(surface.page(0).findText("Thu Mar 15 14:07"));
    EXPECT_TRUE(surface.page(pages - 1).findText("Notes"));
    expectGoldenFile(surface.dump(), "reports/vital_history_pages.txt");
}
