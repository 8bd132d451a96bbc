#include "logbook/DeleteConfirmation.h"
#include "storage/PreferenceTable.h"
#include "support/TestDatabase.h"

#include <string>
#include <vector>

namespace {

class ScriptedQuestion : public DeleteQuestion {
public:
    explicit ScriptedQuestion(DeleteAnswer answer) : m_answer(answer) {}
    DeleteAnswer ask() override {
        ++asked;
        return m_answer;
    }
    int asked = 0;

private:
    DeleteAnswer m_answer;
};

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

    std::string storedAskDelete() {
        auto stored = rows("select ASK_DELETE_BOL from PREFERENCE");
        return stored.size() == 1 ? stored.front()
                                  : std::string("rows: ") + std::to_string(stored.size());
    }

    bool confirm(ScriptedQuestion& question) { return confirmDelete(*db, *preference, question); }

    std::unique_ptr<Preference> preference;
};

} // namespace

TEST_F(DeleteConfirmation, TurnedOffAnswersYesWithoutAskingOrWriting) {
    preference->setAskDeleteBol(false);
    ASSERT_TRUE(PreferenceTable::save(*db, *preference));
    takeStatements();

    ScriptedQuestion question({false, true});
    EXPECT_TRUE(confirm(question));
    EXPECT_EQ(question.asked, 0);
    EXPECT_TRUE(takeStatements().empty());
    EXPECT_EQ(storedAskDelete(), "F");
}

TEST_F(DeleteConfirmation, AnswersWithTheBoxTickedChangeNothingStored) {
    ScriptedQuestion yes({true, true});
    EXPECT_TRUE(confirm(yes));
    ScriptedQuestion no({false, true});
    EXPECT_FALSE(confirm(no));

    EXPECT_EQ(yes.asked, 1);
    EXPECT_EQ(no.asked, 1);
    EXPECT_TRUE(preference->getAskDeleteBol());
    EXPECT_TRUE(takeStatements().empty());
    EXPECT_EQ(storedAskDelete(), "T");
}

TEST_F(DeleteConfirmation, NoWithTheBoxClearedDeclinesButStopsAskingAtOnce) {
    ScriptedQuestion no({false, false});
    EXPECT_FALSE(confirm(no));
    EXPECT_EQ(no.asked, 1);
    EXPECT_FALSE(preference->getAskDeleteBol());
    EXPECT_EQ(storedAskDelete(), "F");

    // Stored for the next start, and the cached record no longer asks either.
    EXPECT_FALSE(PreferenceTable::load(*db)->getAskDeleteBol());
    ScriptedQuestion never({false, true});
    EXPECT_TRUE(confirm(never));
    EXPECT_EQ(never.asked, 0);
}

TEST_F(DeleteConfirmation, YesWithTheBoxClearedRemovesAndStopsAsking) {
    ScriptedQuestion yes({true, false});
    EXPECT_TRUE(confirm(yes));
    EXPECT_EQ(yes.asked, 1);
    EXPECT_EQ(storedAskDelete(), "F");
    // Only the one preference row is written, nothing else of it changes.
    auto row = rows("select PK, DOCTOR_NAME, MILITARY_TIME_BOL from PREFERENCE");
    EXPECT_EQ(row, std::vector<std::string>{"1|Dr.|T"});
}
