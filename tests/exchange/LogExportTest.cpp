#include "exchange/LogExport.h"
#include "ExchangeTest.h"

#include <QDir>

class LogExportTest : public ExchangeTest {
protected:
    void add(const QString& time, int glucose, int carbs, const QString& insulinTime,
             const QString& dosage, const QString& correction, int state = SyncState::Added) {
        Sample entry;
        entry.setSampleTime(time);
        entry.setGlucoseCnt(glucose);
        entry.setCarbCnt(carbs);
        entry.setInsulinTime(insulinTime);
        entry.setMedicationDosage(dosage);
        entry.setCorrectionDosage(correction);
        ASSERT_TRUE(SampleTable::save(*db, entry, state));
    }

    // The written file and its golden twin, byte for byte.
    void expectGoldenBytes(const QString& written, const QString& golden) {
        const QString path = testData(golden);
        if (qEnvironmentVariableIsSet("QUILLMARCH_UPDATE_GOLDEN")) {
            QFile::remove(path);
            ASSERT_TRUE(QFile::copy(written, path));
        }
        EXPECT_EQ(bytesOf(written).toStdString(), bytesOf(path).toStdString())
            << golden.toStdString();
    }
};

TEST_F(LogExportTest, WritesLiveEntriesNewestFirstInBothFormatsByteForByte) {
    add("20070316071500", 95, 0, "20070316072000", "4H 1Z 2Q 3W", "");
    // Insulin time without a dosage text: the column stays blank.
    add("20070316120000", 1234, 60, "20070316120500", "", "2H");
    add("20070315235900", 0, 5, "20070316000100", "12.5Ü 3.25Ö", "1.5H 10.25G");
    add("20070317080000", 300, 999, "20070317080000", "9H", "", SyncState::Deleted);
    // A dosage whose insulin time was never stored.
    add("20070310080000", 180, 20, "", "6H", "");
    // The hour the clocks skipped in spring is written as it was stored.
    add("20070325023000", 101, 1, "20070325023000", "1H", "", SyncState::Foreign);

    const struct {
        LogExport::Format format;
        const char* name;
    } files[] = {{LogExport::Format::TabDelimited, "export_tab.xls"},
                 {LogExport::Format::Text, "export_text.txt"}};
    for (const auto& f : files) {
        const QString path = pathOf(f.name);
        QString error;
        ASSERT_TRUE(LogExport::write(*db, path, f.format, error)) << error.toStdString();
        expectGoldenBytes(path, QString("exchange/") + f.name);
    }
}

TEST_F(LogExportTest, NamesTheFileAfterThePatientAndTellsTheFormatByExtension) {
    const std::time_t today = fromDateTimeText("20240305100000");
    const struct {
        const char* patient;
        const char* name;
    } names[] = {{"3 Jo O'Neil 2nd", "JoONeil2nd20240305"},
                 {"Ann", "Ann20240305"},
                 {"'7Up", "7Up20240305"}, // the digit is not the first character typed
                 {"Jürgen", "Jrgen20240305"},
                 {"", "20240305"}};
    for (const auto& n : names)
        EXPECT_EQ(LogExport::defaultFileName(n.patient, today), n.name) << n.patient;

    using F = LogExport::Format;
    const struct {
        const char* path;
        std::optional<F> format;
    } formats[] = {{"/a/log.xls", F::TabDelimited}, {"/a/LOG.XLS", F::TabDelimited},
                   {"/a/log.TxT", F::Text},         {"/a/log.csv", std::nullopt},
                   {"/a/log", std::nullopt},        {"/a.txt/log.xlsx", std::nullopt}};
    for (const auto& f : formats)
        EXPECT_EQ(LogExport::formatOf(f.path), f.format) << f.path;
}

TEST_F(LogExportTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeftBehind) {
    add("20070316071500", 95, 0, "", "", "");
    QString error;
    EXPECT_FALSE(
        LogExport::write(*db, pathOf("no such folder/log.xls"), LogExport::Format::Text, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QDir(pathOf("no such folder")).exists());

    // A statement that cannot run leaves the file that was there as it was.
    const QString kept = pathOf("kept.txt");
    ASSERT_TRUE(LogExport::write(*db, kept, LogExport::Format::Text, error));
    const QByteArray before = bytesOf(kept);
    ASSERT_TRUE(db->exec("drop table SAMPLE"));
    prompts.expect("Database");
    EXPECT_FALSE(LogExport::write(*db, kept, LogExport::Format::Text, error));
    EXPECT_EQ(bytesOf(kept), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter("kept").size(), 1);
}
