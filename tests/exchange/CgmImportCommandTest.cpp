#include "app/AppTestSupport.h"
#include "exchange/CgmFormats.h"
#include "exchange/widgets/CgmInsulinDialog.h"
#include "exchange/widgets/ExchangeWindow.h"
#include "exchange/widgets/MeterImportCommands.h"
#include "support/ScriptedFileDialogs.h"
#include "ui/ModalDriver.h"

#include <QComboBox>
#include <QFileInfo>

namespace {

// File > Import's CGM items over a new patient "Ann" (at 15 March 2007, so that no record of
// the samples is past the retention).
class CgmImportCommandTest : public OpenPatientTest {
protected:
    QString sample(const char* name) {
        return qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/exchange/" + name;
    }
    int count(const char* table) {
        return app.database().count((std::string("select count(*) from ") + table).c_str());
    }
    // Answers the insulin question with `answer` and keeps what it was offered.
    CgmInsulinAsk answering(std::optional<CgmInsulinChoice> answer) {
        return [this, answer](QWidget*, const std::vector<CgmInsulinOption>& insulins,
                              const CgmInsulinChoice& suggested) {
            QStringList codes;
            for (const CgmInsulinOption& insulin : insulins)
                codes << insulin.code;
            offered << codes.join(',') + " suggested " + suggested.rapid + "," +
                           suggested.longActing;
            return answer;
        };
    }

    const CgmFormat& clarity = *CgmFormats::find("clarity");
    ScriptedFileDialogs files;
    int reloads = 0;
    QStringList offered;
    ExchangeWindow window{app, files, progress, nullptr, [this] { ++reloads; }};
};

TEST_F(CgmImportCommandTest, ClarityAsksForTheInsulinsThenImportsAndReloads) {
    files.answers = {sample("clarity_quoted.csv")};
    prompts.expect("Quillmarch", sample("clarity_quoted.csv") +
                                     "\n\nSensor readings stored: 5; already stored: 1.\nLog "
                                     "entries added or completed: 7.");
    importCgmCommand(window, clarity, answering(CgmInsulinChoice{"N", "R"}));
    EXPECT_EQ(files.asked, QStringList{"open|Import Clarity CGM Data|" +
                                       QFileInfo(app.database().path()).absolutePath() +
                                       "|Clarity CSV export (*.csv);;All files (*)"});
    EXPECT_EQ(offered, QStringList{"H,G,N,R suggested H,G"});
    EXPECT_EQ(count("CGM_READING"), 5);
    EXPECT_EQ(rows("select MEDICATION_DOSAGE from SAMPLE where MEDICATION_DOSAGE <> '' order by "
                   "SAMPLE_TIME"),
              (Rows{"4.5N", "18R", "2N"}));
    EXPECT_EQ(reloads, 1);
}

TEST_F(CgmImportCommandTest, CancellingTheInsulinQuestionImportsNothing) {
    files.answers = {sample("clarity_quoted.csv")};
    importCgmCommand(window, clarity, answering(std::nullopt));
    EXPECT_EQ(offered.size(), 1);
    EXPECT_EQ(count("CGM_READING"), 0);
    EXPECT_EQ(count("SAMPLE"), 0);
    EXPECT_EQ(reloads, 0);
}

TEST_F(CgmImportCommandTest, ARefusedFileIsToldAndNoQuestionAsked) {
    const QString other = sample("onetouch_sample.csv");
    files.answers = {other};
    prompts.expect("Import failed",
                   other +
                       " holds no Clarity record; line 1 cannot be read: \"\"SKU: 0004-7788\"\"");
    importCgmCommand(window, clarity, answering(CgmInsulinChoice{"H", "G"}));
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(count("CGM_READING"), 0);
    EXPECT_EQ(reloads, 0);
}

TEST_F(CgmImportCommandTest, TheDialogOffersTheInsulinsAndLeavingOut) {
    files.answers = {sample("clarity_plain.csv")};
    QStringList shown;
    whenModalIs<CgmInsulinDialog>([&shown](CgmInsulinDialog* dialog) {
        shown << dialog->windowTitle();
        for (int i = 0; i < dialog->longList()->count(); ++i)
            shown << dialog->longList()->itemText(i);
        shown << dialog->rapidList()->currentText() << dialog->longList()->currentText();
        dialog->longList()->setCurrentIndex(0);
        dialog->accept();
    });
    prompts.expect("Quillmarch");
    importCgmCommand(window, clarity);
    EXPECT_EQ(shown,
              (QStringList{"Insulin of the export", "(leave out)", "Humalog (H)", "Lantus (G)",
                           "NPH (N)", "Regular (R)", "Humalog (H)", "Lantus (G)"}));
    // The long-acting dose is left out; the rapid-acting ones go under Humalog.
    EXPECT_EQ(rows("select MEDICATION_DOSAGE from SAMPLE where MEDICATION_DOSAGE <> '' order by "
                   "SAMPLE_TIME"),
              (Rows{"4.5H", "2H"}));
}

} // namespace
