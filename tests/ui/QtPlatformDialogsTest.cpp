#include "ui/widgets/QtFileDialogs.h"
#include "ui/widgets/QtPrompts.h"

#include "ModalDriver.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Presses the given button of the message box that comes up, keeping its caption and text.
struct BoxPresser {
    QString caption;
    QString text;
    bool hadNo = false;

    void press(QMessageBox::StandardButton which) {
        whenModalIs<QMessageBox>([this, which](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            hadNo = box->button(QMessageBox::No) != nullptr;
            box->button(which)->click();
        });
    }
};

} // namespace

TEST(QtPrompts, MapsTheButtonPressedToTheAnswer) {
    QtPrompts prompts;
    BoxPresser presser;

    presser.press(QMessageBox::No);
    EXPECT_EQ(
        prompts.show("Delete Day", "Remove this day?", PromptButtons::YesNo, PromptIcon::Question),
        PromptAnswer::No);
    EXPECT_EQ(presser.caption, "Delete Day");
    EXPECT_EQ(presser.text, "Remove this day?");
    EXPECT_TRUE(presser.hadNo);

    presser.press(QMessageBox::Yes);
    EXPECT_TRUE(prompts.askYesNo("Delete Day", "Remove this day?"));

    presser.press(QMessageBox::Cancel);
    EXPECT_EQ(prompts.show("Import", "Go on?", PromptButtons::YesNoCancel, PromptIcon::Warning),
              PromptAnswer::Cancel);

    presser.press(QMessageBox::Ok);
    prompts.error("Database", "cannot open");
    EXPECT_EQ(presser.caption, "Database");
    EXPECT_FALSE(presser.hadNo);
}

TEST(QtFileDialogs, ReturnsTheChosenFileOrNothingWhenCancelled) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath("meter.txt");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // A platform theme may offer its own file dialog, which is no widget a test can drive.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QtFileDialogs dialogs;
    QString title;
    QStringList filters;
    QString folder;

    whenModalIs<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        folder = dialog->directory().absolutePath();
        dialog->selectFile(existing);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
    });
    EXPECT_EQ(dialogs.getOpenFileName("Import Meter File", dir.path(),
                                      "Text files (*.txt);;All files (*)"),
              existing);
    EXPECT_EQ(title, "Import Meter File");
    EXPECT_EQ(filters, QStringList({"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());

    whenModalIs<QFileDialog>([&](QFileDialog* dialog) {
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
            name->setText("export.txt"); // typed, as the patient would
        // Straight to "accepted": the save dialog's own checks wait on its folder being read,
        // which a loaded machine may not finish while the test looks.
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
    EXPECT_EQ(dialogs.getSaveFileName("Export", dir.path(), "Text files (*.txt)"),
              dir.filePath("export.txt"));

    whenModalIs<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(
        dialogs.getOpenFileName("Import Meter File", dir.path(), "All files (*)").isEmpty());
}
