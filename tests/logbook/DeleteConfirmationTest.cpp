#include "logbook/DeleteConfirmation.h"
#include "storage/PreferenceTable.h"
#include "support/ScriptedDeleteQuestion.h"
#include "support/TestDatabase.h"

namespace {
class DeleteConfirmation : public DatabaseTest {};
} // namespace

// Each answer of the question: whether the removal goes ahead, and whether the question is
// asked again, in the cached record and in the stored one (only the one flag is written).
TEST_F(DeleteConfirmation, AnswersAndTheirEffect) {
    ASSERT_TRUE(PreferenceTable::createTable(*db));
    struct Case {
        bool askBefore;
        std::deque<DeleteAnswer> answers;
        bool yes;
        const char* stored; // DOCTOR_NAME|MILITARY_TIME_BOL|ASK_DELETE_BOL afterwards
    };
    const Case cases[] = {
        {false, {}, true, "Dr.|T|F"}, // turned off: yes without asking
        {true, {{true, true}}, true, "Dr.|T|T"},
        {true, {{false, true}}, false, "Dr.|T|T"},
        {true, {{false, false}}, false, "Dr.|T|F"}, // declined, but never asked again
        {true, {{true, false}}, true, "Dr.|T|F"},
    };
    for (const Case& c : cases) {
        auto preference = PreferenceTable::load(*db);
        preference->setAskDeleteBol(c.askBefore);
        ASSERT_TRUE(PreferenceTable::save(*db, *preference));
        ScriptedDeleteQuestion question;
        question.answers = c.answers;
        EXPECT_EQ(confirmDelete(*db, *preference, question), c.yes);
        EXPECT_TRUE(question.answers.empty()) << "the question was not asked";
        EXPECT_EQ(preference->getAskDeleteBol(), QString(c.stored).endsWith('T'));
        EXPECT_EQ(rows("select DOCTOR_NAME, MILITARY_TIME_BOL, ASK_DELETE_BOL from PREFERENCE"),
                  std::vector<std::string>{c.stored});
    }
}
