#pragma once

#include "ui/DeleteQuestion.h"

class Database;
class Preference;

// Asks before a removal unless the patient turned the question off. Turning it off (the
// answer's alwaysAsk cleared, whatever the button) is stored in the preference row at once,
// so it holds even when the removal itself is declined. True only when the removal may go
// ahead.
bool confirmDelete(Database& db, Preference& preference, DeleteQuestion& question);
