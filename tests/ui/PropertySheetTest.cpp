#include "ui/widgets/PropertySheet.h"

#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A page that records what the sheet asked of it.
class CountingPage : public PropertyPage {
public:
    CountingPage(std::vector<QString>& log, QString name, bool valid)
        : m_valid(valid), m_log(log), m_name(std::move(name)) {}
    bool validate() override {
        m_log.push_back(m_name + " validate");
        return m_valid;
    }
    bool apply() override {
        m_log.push_back(m_name + " apply");
        return true;
    }
    void touch() { emit changed(); }
    bool m_valid;

private:
    std::vector<QString>& m_log;
    QString m_name;
};

} // namespace

TEST(PropertySheet, ChecksEveryPageBeforeAnyStoresAndOkStoresAndCloses) {
    std::vector<QString> log;
    PropertySheet sheet("Preferences");
    auto* first = new CountingPage(log, "first", true);
    auto* second = new CountingPage(log, "second", false);
    sheet.addPage(first, "First");
    sheet.addPage(second, "Second");
    EXPECT_EQ(sheet.windowTitle(), "Preferences");

    // A refused value: nothing is stored and the sheet stays open on that page.
    sheet.okButton()->click();
    EXPECT_EQ(log, (std::vector<QString>{"first validate", "second validate"}));
    EXPECT_EQ(sheet.result(), QDialog::Rejected);

    log.clear();
    second->m_valid = true;
    EXPECT_FALSE(sheet.applyButton()->isEnabled());
    second->touch();
    ASSERT_TRUE(sheet.applyButton()->isEnabled());
    sheet.applyButton()->click();
    EXPECT_EQ(log, (std::vector<QString>{"first validate", "second validate", "first apply",
                                         "second apply"}));
    EXPECT_FALSE(sheet.applyButton()->isEnabled());

    // OK stores every page and closes.
    log.clear();
    sheet.okButton()->click();
    EXPECT_EQ(log, (std::vector<QString>{"first validate", "second validate", "first apply",
                                         "second apply"}));
    EXPECT_EQ(sheet.result(), QDialog::Accepted);

    log.clear();
    sheet.cancelButton()->click();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
}
