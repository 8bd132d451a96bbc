#pragma once

#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Conversions.h"
#include "support/LogbookTest.h"
#include "support/TestLogbookContext.h"

#include <initializer_list>
#include <string>

// The glucose limits most logbook tests classify against.
inline void useStandardRange(Preference& p) {
    p.setGlucoseExtLo(50);
    p.setGlucoseLo(70);
    p.setGlucoseHi(180);
    p.setGlucoseExtHi(250);
}

// Selects exactly these rows of the list; the last one becomes the selection mark.
inline void selectRows(SampleListCtrl& list, std::initializer_list<int> positions) {
    list.clearSelection();
    for (int row : positions)
        list.selectionModel()->setCurrentIndex(
            list.model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// The logbook tables with a context over them; `openContext` builds the context once the
// test has stored what the context should read.
class LogbookContextTest : public LogbookTest {
protected:
    void openContext(const char* now = nullptr) {
        context =
            std::make_unique<TestLogbookContext>(*db, prompts, now ? fromDateTimeText(now) : 0);
    }
    // Stores the change and lets the context read the preference again.
    void changePreference(const std::function<void(Preference&)>& change) {
        LogbookTest::changePreference(change);
        if (context)
            context->reload();
    }

    std::unique_ptr<TestLogbookContext> context;
};
