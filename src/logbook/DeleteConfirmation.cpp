#include "logbook/DeleteConfirmation.h"

#include "storage/PreferenceTable.h"

bool confirmDelete(Database& db, Preference& preference, DeleteQuestion& question) {
    if (!preference.getAskDeleteBol())
        return true;
    const DeleteAnswer answer = question.ask();
    if (!answer.alwaysAsk) {
        preference.setAskDeleteBol(false);
        // A failed write leaves the question on for the next start; the cached record
        // already stops asking for the rest of this session, and the removal itself
        // depends only on the button.
        PreferenceTable::save(db, preference);
    }
    return answer.yes;
}
