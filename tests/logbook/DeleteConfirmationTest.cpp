#include "logbook/DeleteConfirmation.h"
#include "storage/PreferenceTable.h"
#include "support/ScriptedDeleteQuestion.h"
#include "support/TestDatabase.h"

namespace {

class DeleteConfirmation : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_TRUE(PreferenceTable::createTable(*db));
        preference = PreferenceTable::load(*db);
        ASSERT_TRUE(preference);
        ASSERT_TRUE(preference->getAskDeleteBol());
        takeStatements();
    }

    // Asks with these answers scripted; every one of them must be used up.
    bool confirm(std::deque<DeleteAnswer> answers) {
        question.answers = answers;
        bool yes = confirmDelete(*db, *preference, question);
        EXPECT_TRUE(question.answers.empty()) << "the question was not asked";
        return yes;
    }
    std::vector<std::string> storedAskDelete() {
        return rows("select ASK_DELETE_BOL from PREFERENCE");
    }

    ScriptedDeleteQuestion question;
    std::unique_ptr<Preference> preference;
};

} // namespace

TEST_F(DeleteConfirmation, TurnedOffAnswersYesWithoutAskingOrWriting) {
    preference->setAskDeleteBol(false);
    ASSERT_TRUE(PreferenceTable::save(*db, *preference));
    takeStatements();
    EXPECT_TRUE(confirm({}));
    EXPECT_TRUE(takeStatements().empty());
    EXPECT_EQ(storedAskDelete(), std::vector<std::string>{"F"});
}

TEST_F(DeleteConfirmation, AnswersWithTheBoxTickedChangeNothingStored) {
    EXPECT_TRUE(confirm({{true, true}}));
    EXPECT_FALSE(confirm({{false, true}}));
    EXPECT_TRUE(preference->getAskDeleteBol());
    EXPECT_TRUE(takeStatements().empty());
    EXPECT_EQ(storedAskDelete(), std::vector<std::string>{"T"});
}

TEST_F(DeleteConfirmation, NoWithTheBoxClearedDeclinesButStopsAskingAtOnce) {
    EXPECT_FALSE(confirm({{false, false}}));
    EXPECT_FALSE(preference->getAskDeleteBol());
    EXPECT_EQ(storedAskDelete(), std::vector<std::string>{"F"});
    // Stored for the next start, and the cached record no longer asks either.
    EXPECT_FALSE(PreferenceTable::load(*db)->getAskDeleteBol());
    EXPECT_TRUE(confirm({}));
}

TEST_F(DeleteConfirmation, YesWithTheBoxClearedRemovesAndStopsAsking) {
    EXPECT_TRUE(confirm({{true, false}}));
    // Only the one preference row is written, nothing else of it changes.
    EXPECT_EQ(rows("select PK, DOCTOR_NAME, MILITARY_TIME_BOL, ASK_DELETE_BOL from PREFERENCE"),
              std::vector<std::string>{"1|Dr.|T|F"});
}
