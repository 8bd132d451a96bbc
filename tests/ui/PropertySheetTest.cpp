#include "ui/widgets/PropertySheet.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// A page that writes down what the sheet asked of it.
struct CountingPage : PropertyPage {
    CountingPage(QString& log, QString name, bool valid) : log(log), name(name), valid(valid) {}
    bool validate() override {
        log += name + " validate,";
        return valid;
    }
    bool apply() override {
        log += name + " apply,";
        return true;
    }
    QString& log;
    QString name;
    bool valid;
};

} // namespace

TEST(PropertySheet, ChecksEveryPageBeforeAnyStoresAndOkStoresAndCloses) {
    QString log;
    PropertySheet sheet("Preferences");
    auto* second = new CountingPage(log, "second", false);
    sheet.addPage(new CountingPage(log, "first", true), "First");
    sheet.addPage(second, "Second");
    EXPECT_EQ(sheet.windowTitle(), "Preferences");

    // A refused value: nothing is stored and the sheet stays open.
    sheet.okButton()->click();
    EXPECT_EQ(std::exchange(log, {}), "first validate,second validate,");
    EXPECT_EQ(sheet.result(), QDialog::Rejected);

    second->valid = true;
    EXPECT_FALSE(sheet.applyButton()->isEnabled());
    emit second->changed();
    ASSERT_TRUE(sheet.applyButton()->isEnabled());
    sheet.applyButton()->click();
    const QString storedAll = "first validate,second validate,first apply,second apply,";
    EXPECT_EQ(std::exchange(log, {}), storedAll);
    EXPECT_FALSE(sheet.applyButton()->isEnabled());

    sheet.okButton()->click();
    EXPECT_EQ(std::exchange(log, {}), storedAll);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);

    sheet.cancelButton()->click();
    EXPECT_EQ(log, "");
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
}
