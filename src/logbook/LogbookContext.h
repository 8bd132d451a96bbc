#pragma once

#include "storage/Conversions.h"

class Clock;
class Database;
class Preference;
class Prompts;
class SampleTypeAbs;

// What the logbook's list, view and dialogs need of the running application: the open
// database, the current patient's preference record and caches, the prompts and the clock.
// The application object provides it; tests provide a small one over a test database.
class LogbookContext {
public:
    virtual ~LogbookContext() = default;

    virtual Database& database() = 0;
    // The cached preference record, loaded on first use.
    virtual Preference& preference() = 0;
    // Drops the cached preference (and the caches loaded with it) so that the next use
    // reads them from the database again.
    virtual void reloadPreference() = 0;
    // The cached slots in ascending SAMPLE_TIME; an index outside the list yields the
    // stand-by slot whose PK is -1 and whose DESC is "Unknown".
    virtual const SampleTypeAbs& slotAt(int index) = 0;
    virtual int slotCount() = 0;
    // The active medications, for insulin totals.
    virtual MedicationLookup medicationLookup() = 0;
    virtual Prompts& prompts() = 0;
    virtual const Clock& clock() = 0;
};
