#include "logbook/DaySummary.h"

#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Whether storing the entry again through saveWithDay would change its row. saveWithDay
// files an entry under the day its date finds and drops the insulin time of an entry without
// doses; most entries are already that way, and skipping them keeps summarizing a day to
// one write.
bool needsRestoring(const SampleAbs& entry, const SampleDateAbs& day, int dayPkOfItsDate) {
    if (entry.getSampleTime().left(8) != day.getSampleDate() || dayPkOfItsDate != day.getPk())
        return true;
    if (!entry.getInsulinTime().isEmpty() && entry.getMedicationDosage().isEmpty() &&
        entry.getCorrectionDosage().isEmpty())
        return true;
    return entry.getSyncState() == SyncState::Foreign && entry.getFk() != 0;
}

} // namespace

bool summarizeDay(Database& db, SampleDateAbs& day, bool edited,
                  const MedicationLookup& medications) {
    day.setAvgGlucoseCnt(0);
    day.setTtlSampleCnt(0);
    day.setTtlCarbCnt(0);
    day.setTtlInsulinAmt(0);
    day.setNewSiteBol(false);
    int entries = 0;
    int readings = 0;
    long glucoseSum = 0;
    // Kept wide and held at the limits of the column: counts stored before entries were
    // checked, or imported, must not wrap a day's total into a negative one.
    long long carbohydrates = 0;
    long long insulin = 0; // in hundredths; kept wide so a day of large doses cannot wrap
    int highestKetone = 0;

    // Read the whole day before writing: an entry re-filed under another day would
    // otherwise move within the index being read.
    std::vector<std::unique_ptr<Sample>> dayEntries;
    if (day.getPk() != 0) {
        if (auto q = SampleTable::selectByDay(db, day.getPk(), true)) {
            while (auto entry = SampleTable::getNext(db, *q))
                dayEntries.push_back(std::move(entry));
        }
    }
    // Where saveWithDay files an entry of this day's date (another row of the same date
    // may be the one the date finds).
    int dayPkOfItsDate = day.getPk();
    if (!dayEntries.empty()) {
        auto owner = SampleDateTable::getByDate(db, day.getSampleDate());
        dayPkOfItsDate = owner ? owner->getPk() : -1;
    }

    for (const auto& entry : dayEntries) {
        ++entries;
        if (entry->getGlucoseCnt() > 0)
            ++readings;
        glucoseSum += entry->getGlucoseCnt();
        carbohydrates += entry->getCarbCnt();
        insulin += entryInsulinHundredths(entry->getMedicationDosage(),
                                          entry->getCorrectionDosage(), medications);
        if (entry->getKeytoneCode() > highestKetone)
            highestKetone = entry->getKeytoneCode();
        if (entry->getNewSiteBol())
            day.setNewSiteBol(true);
        if (needsRestoring(*entry, day, dayPkOfItsDate))
            SampleTable::saveWithDay(db, *entry, entry->getSyncState());
    }

    if (readings != 0)
        day.setAvgGlucoseCnt(static_cast<int>(glucoseSum / readings));
    day.setTtlSampleCnt(entries);
    day.setTtlCarbCnt(static_cast<int>(std::clamp<long long>(carbohydrates, INT_MIN, INT_MAX)));
    day.setTtlInsulinAmt(static_cast<int>(std::min<long long>(insulin, INT_MAX)));
    day.setMaxKeytoneCode(highestKetone);
    day.setSummaryState(edited ? SummaryState::Edited : SummaryState::Summarized);
    SampleDateTable::save(db, day, day.getSyncState());
    return true;
}

bool summarizeDayOf(Database& db, const QString& dateOrTimestamp, bool edited,
                    const MedicationLookup& medications) {
    auto day = SampleDateTable::getByDate(db, dateOrTimestamp);
    if (!day) {
        day = std::make_unique<SampleDate>();
        day->setSampleDate(dateOrTimestamp.left(8));
    }
    return summarizeDay(db, *day, edited, medications);
}

int summarizeOutOfDateDays(Database& db, const MedicationLookup& medications, Progress& progress,
                           Prompts& prompts) {
    int steps = SampleDateTable::getSummarizableCnt(db);
    if (steps < 1)
        return 0;
    progress.begin(QStringLiteral("Summarizing LogBook...Please Wait!"), steps);
    return workThroughDays(db, SampleDateTable::selectUnsummarized(db), progress, prompts,
                           [&](SampleDateAbs& day) { summarizeDay(db, day, false, medications); });
}

int workThroughDays(Database& db, std::unique_ptr<Query> query, Progress& progress,
                    Prompts& prompts, const std::function<void(SampleDateAbs&)>& work) {
    std::vector<std::unique_ptr<SampleDate>> days;
    while (query) {
        auto day = SampleDateTable::getNext(db, *query);
        if (!day)
            break;
        days.push_back(std::move(day));
    }
    query.reset();
    Transaction unit(db);
    int taken = 0;
    for (const auto& day : days) {
        progress.step(day->getSampleDate(), ++taken);
        work(*day);
        if (db.lastError() != 0)
            prompts.error(QStringLiteral("Database"), db.errorText());
    }
    unit.commit();
    progress.finish();
    return taken;
}
