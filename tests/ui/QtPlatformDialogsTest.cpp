#include "ui/widgets/QtFileDialogs.h"
#include "ui/widgets/QtPrompts.h"

#include "ModalDriver.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(QtPrompts, ShowsCaptionAndTextAndAnswersWithTheButtonPressed) {
    QtPrompts prompts;
    const struct {
        PromptButtons buttons;
        QMessageBox::StandardButton press;
        PromptAnswer answer;
    } cases[] = {{PromptButtons::YesNo, QMessageBox::No, PromptAnswer::No},
                 {PromptButtons::YesNo, QMessageBox::Yes, PromptAnswer::Yes},
                 {PromptButtons::YesNoCancel, QMessageBox::Cancel, PromptAnswer::Cancel},
                 {PromptButtons::Ok, QMessageBox::Ok, PromptAnswer::Ok}};
    for (const auto& c : cases) {
        QString shown;
        whenModalIs<QMessageBox>([&shown, &c](QMessageBox* box) {
            shown = box->windowTitle() + "|" + box->text();
            box->button(c.press)->click();
        });
        EXPECT_EQ(prompts.show("Delete Day", "Remove this day?", c.buttons, PromptIcon::Question),
                  c.answer);
        EXPECT_EQ(shown, "Delete Day|Remove this day?");
    }
}

// The dialog does not write a chosen file into its name field while that field has the
// keyboard focus, which it may or may not have yet when the test chooses: the focus is taken
// away first.
static void acceptChosen(QFileDialog* dialog, const QString& file) {
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept(); // public there, protected in QFileDialog
}

TEST(QtFileDialogs, ReturnsTheChosenFileOrNothingWhenCancelled) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("meter.txt");
    ASSERT_TRUE(QFile(existing).open(QIODevice::WriteOnly));
    // A platform theme may offer its own file dialog, which is no widget a test can drive.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QtFileDialogs dialogs;
    QString shown;
    whenModalIs<QFileDialog>([&](QFileDialog* dialog) {
        shown = dialog->windowTitle() + "|" + dialog->nameFilters().join(";");
        acceptChosen(dialog, existing);
    });
    EXPECT_EQ(dialogs.getOpenFileName("Import Meter File", dir.path(),
                                      "Text files (*.txt);;All files (*)"),
              existing);
    EXPECT_EQ(shown, "Import Meter File|Text files (*.txt);All files (*)");

    whenModalIs<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(dialogs.getSaveFileName("Export", dir.path(), "All files (*)").isEmpty());
}
