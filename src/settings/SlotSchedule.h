#pragma once

#include <QString>
#include <array>
#include <ctime>
#include <optional>

class Clock;
class Database;
class Prompts;

// One time-of-day slot as the Log Types page edits it. The start time carries the date the
// page was built on, so that neighbouring slots compare as plain points in time.
struct SlotEdit {
    QString name;
    QString medication;
    std::time_t time = 0;
};

// The eight time-of-day slots being edited, without widgets: reading them from SAMPLE_TYPE,
// keeping their start times increasing, and writing back only the slots that changed.
// Slot indexes run from 0 to 7; slot index i is kept in the SAMPLE_TYPE row whose PK is i + 1.
class SlotSchedule {
public:
    static constexpr int kSlotCount = 8;
    // The caption of a medication button whose slot has no medication.
    static constexpr const char* kNoMedicationCaption = "Medication";

    // Eight empty slots at time 0 until load() fills them.
    SlotSchedule() = default;

    // Fills the slots from the live SAMPLE_TYPE rows in ascending start time; rows after
    // the eighth are ignored, and slots without a row stay empty.
    void load(Database& db, const Clock& clock);

    const SlotEdit& slot(int index) const { return m_slots.at(static_cast<size_t>(index)); }
    void setName(int index, const QString& name) { at(index).name = name; }
    void setMedication(int index, const QString& medication) { at(index).medication = medication; }
    void setTime(int index, std::time_t time) { at(index).time = time; }

    // Why the slot may not start at this time, or nothing when it may: every slot after the
    // first must start after the slot before it and before the slot after it. The first
    // slot's time is not checked here (the page does not let it change).
    std::optional<QString> timeRefusal(int index, std::time_t time) const;

    // Writes each slot whose name, medication or start time differs from its row, in slot
    // order. A slot whose row is missing is stored as a new row. A failed write is reported
    // under "Database" and the remaining slots are still stored.
    void store(Database& db, Prompts& prompts) const;

    // The date of `day` at the given hour and minute, local time.
    static std::time_t atTimeOfDay(std::time_t day, int hour, int minute);
    // The four-digit start time a slot is stored with.
    static QString storedTime(std::time_t time);
    static QString medicationCaption(const QString& medication);

private:
    SlotEdit& at(int index) { return m_slots.at(static_cast<size_t>(index)); }

    std::array<SlotEdit, kSlotCount> m_slots;
};
