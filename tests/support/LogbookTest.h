#pragma once

#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "support/TestDatabase.h"

#include <functional>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A test database holding the logbook's tables (days, entries, notes, slots, the preference,
// medications and the quick-bolus limits), with helpers that add rows to them.
class LogbookTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        for (bool created : {SampleDateTable::createTable(*db), SampleTable::createTable(*db),
                             NoteTable::createTable(*db), SampleTypeTable::createTable(*db),
                             PreferenceTable::createTable(*db), MedicationTable::createTable(*db),
                             QbPreferenceTable::createTable(*db), QbTargetTable::createTable(*db)})
            ASSERT_TRUE(created);
    }

    int addDay(const QString& date, const std::function<void(SampleDate&)>& fill = {}) {
        SampleDate day;
        day.setSampleDate(date);
        if (fill)
            fill(day);
        EXPECT_TRUE(SampleDateTable::save(*db, day));
        return day.getPk();
    }

    int addNote(const QString& text, int type = NoteType::LogEntry, int owner = 0, int fk = 0) {
        Note note;
        note.setNoteType(type);
        note.setOwnerPk(owner);
        note.setText(text);
        note.setFk(fk);
        EXPECT_TRUE(NoteTable::save(*db, note));
        return note.getPk();
    }

    // Reads the stored preference (the defaults when there is none), changes it, stores it.
    void changePreference(const std::function<void(Preference&)>& change) {
        auto preference = PreferenceTable::load(*db);
        change(*preference);
        EXPECT_TRUE(PreferenceTable::save(*db, *preference));
    }

    // An active insulin included in totals unless `fill` says otherwise.
    int addMedication(const QString& name, const QString& code,
                      const std::function<void(Medication&)>& fill = {}) {
        Medication medication;
        medication.setMedDesc(name);
        medication.setMedCode(code);
        if (fill)
            fill(medication);
        EXPECT_TRUE(MedicationTable::save(*db, medication));
        return medication.getPk();
    }

    int addSlot(const QString& time, const QString& name, const QString& dosage = {}) {
        SampleType slot;
        slot.setSampleTime(time);
        slot.setDesc(name);
        slot.setMedicationDosage(dosage);
        EXPECT_TRUE(SampleTypeTable::save(*db, slot));
        return slot.getPk();
    }

    // Stored as a new entry, filed under the day of its time when that day exists.
    int addEntry(const QString& time, int glucose, const std::function<void(Sample&)>& fill = {}) {
        Sample entry;
        entry.setSampleTime(time);
        entry.setGlucoseCnt(glucose);
        if (fill)
            fill(entry);
        EXPECT_TRUE(SampleTable::saveWithDay(*db, entry, SyncState::Added));
        return entry.getPk();
    }
};
