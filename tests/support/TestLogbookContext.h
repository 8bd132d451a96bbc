#pragma once

#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/Database.h"
#include "storage/MedicationTable.h"
#include "storage/PreferenceTable.h"
#include "storage/SampleTypeTable.h"

#include <memory>
#include <vector>

// A LogbookContext (or a context built on it) over a test database: the preference is loaded
// from the database on first use, the slots and medications are read on demand, and the
// clock is fixed.
template <class Base> class BasicTestLogbookContext : public Base {
public:
    BasicTestLogbookContext(Database& db, Prompts& prompts, std::time_t now)
        : m_db(db), m_prompts(prompts), m_clock(now) {
        m_standBy.setPk(-1);
        m_standBy.setDesc("Unknown");
    }

    Database& database() override { return m_db; }
    Preference& preference() override {
        if (!m_preference) {
            m_preference = PreferenceTable::load(m_db);
            m_preference->loadTargetPeriods(m_db);
        }
        return *m_preference;
    }
    void reloadPreference() override { reload(); }
    const SampleTypeAbs& slotAt(int index) override {
        loadSlots();
        return index >= 0 && index < slotCount() ? *m_slots[index] : m_standBy;
    }
    int slotCount() override {
        loadSlots();
        return static_cast<int>(m_slots.size());
    }
    MedicationLookup medicationLookup() override {
        std::vector<std::unique_ptr<Medication>> meds;
        if (auto q = MedicationTable::selectAll(m_db, 0, true))
            while (auto med = MedicationTable::getNext(m_db, *q))
                if (med->getActiveBol())
                    meds.push_back(std::move(med));
        return makeMedicationLookup(meds);
    }
    Prompts& prompts() override { return m_prompts; }
    const Clock& clock() override { return m_clock; }

    FixedClock& fixedClock() { return m_clock; }
    // Forget the cached records so that the next use reads them again.
    void reload() {
        m_preference.reset();
        m_slots.clear();
        m_slotsLoaded = false;
    }

private:
    void loadSlots() {
        if (m_slotsLoaded)
            return;
        m_slotsLoaded = true;
        if (auto q = SampleTypeTable::selectAll(m_db, 3, true))
            while (auto slot = SampleTypeTable::getNext(m_db, *q))
                m_slots.push_back(std::move(slot));
    }

    Database& m_db;
    Prompts& m_prompts;
    FixedClock m_clock;
    std::unique_ptr<Preference> m_preference;
    std::vector<std::unique_ptr<SampleType>> m_slots;
    bool m_slotsLoaded = false;
    SampleType m_standBy;
};

using TestLogbookContext = BasicTestLogbookContext<LogbookContext>;
