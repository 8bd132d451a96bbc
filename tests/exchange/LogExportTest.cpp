#include "exchange/LogExport.h"
#include "ExchangeTest.h"

using LogExportTest = ExchangeTest;

TEST_F(LogExportTest, WritesLiveEntriesNewestFirstWholeOrNotAtAllUnderThePatientsName) {
    ASSERT_TRUE(db->exec(bytesOf(testData("exchange/export_entries.sql")).constData()));
    QString error;
    for (const auto& [format, name] : {std::pair{LogExport::Format::TabDelimited, "export_tab.xls"},
                                       std::pair{LogExport::Format::Text, "export_text.txt"}}) {
        const QString golden = testData(QString("exchange/") + name);
        const QString path =
            qEnvironmentVariableIsSet("QUILLMARCH_UPDATE_GOLDEN") ? golden : pathOf(name);
        ASSERT_TRUE(LogExport::write(*db, path, format, error)) << error.toStdString();
        EXPECT_EQ(bytesOf(path).toStdString(), bytesOf(golden).toStdString()) << name;
    }
    // A failure part way leaves the file that was there as it was.
    ASSERT_TRUE(LogExport::write(*db, pathOf("kept.txt"), LogExport::Format::Text, error));
    const QByteArray kept = bytesOf(pathOf("kept.txt"));
    ASSERT_TRUE(db->exec("drop table SAMPLE"));
    prompts.expect("Database");
    EXPECT_FALSE(LogExport::write(*db, pathOf("kept.txt"), LogExport::Format::TabDelimited, error));
    EXPECT_EQ(bytesOf(pathOf("kept.txt")), kept);

    QStringList names;
    for (const char* patient : {"3 Jo O'Neil 2nd", "'7Up", "Jürgen", ""})
        names << LogExport::defaultFileName(patient, fromDateTimeText("20240305100000"));
    // A digit is dropped only as the first character typed.
    EXPECT_EQ(names,
              QStringList({"JoONeil2nd20240305", "7Up20240305", "Jrgen20240305", "20240305"}));
}
