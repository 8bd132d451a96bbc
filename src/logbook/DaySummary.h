#pragma once

#include "storage/Conversions.h"

#include <QString>
#include <functional>
#include <memory>

class Database;
class Progress;
class Prompts;
class Query;
class SampleDateAbs;

// A day's totals (entries, average glucose, carbohydrates, insulin, highest ketone result,
// site change) are recomputed from its live entries and the day is stored. `edited` marks a
// day summarized right after an edit (SUMMARY_STATE 2) rather than by the pass (0).
// The medications decide which doses count as insulin in the day's total.
bool summarizeDay(Database& db, SampleDateAbs& day, bool edited,
                  const MedicationLookup& medications);

// The same for the day of a date or timestamp; a day row is created when there is none.
bool summarizeDayOf(Database& db, const QString& dateOrTimestamp, bool edited,
                    const MedicationLookup& medications);

// SUMMARY_STATE values.
namespace SummaryState {
constexpr int Summarized = 0;
constexpr int OutOfDate = 1;
constexpr int Edited = 2;
} // namespace SummaryState

// The summarize pass: every day marked out of date is summarized, one progress step per day
// ("<date> k of n"); a connection error after a day is shown and the pass goes on.
// Returns the number of days summarized.
int summarizeOutOfDateDays(Database& db, const MedicationLookup& medications, Progress& progress,
                           Prompts& prompts);

// Works through the days a query selects, as the summarize pass and the retention clean-up
// do: every day is read before anything is written, then each gets a progress step
// ("<date> k of n") and `work`, all in one unit of work, so that a pass cut short leaves no
// day half done; a connection error after a day is shown and the pass goes on. Returns the
// number of days worked on.
int workThroughDays(Database& db, std::unique_ptr<Query> days, Progress& progress, Prompts& prompts,
                    const std::function<void(SampleDateAbs&)>& work);
