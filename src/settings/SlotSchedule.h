#pragma once

#include "settings/PreferenceRules.h"

#include <QString>
#include <QTime>
#include <array>
#include <optional>

class Database;
class Prompts;

// One time-of-day slot as the Log Types page edits it.
struct SlotEdit {
    QString name;
    QString medication;
    PickedTime start{QString(), kSlotTimeFormat};

    // The hour and minute the slot starts at; midnight for a stored text that names none.
    QTime startTime() const { return start.shown().value_or(QTime(0, 0)); }
};

// The eight time-of-day slots being edited, without widgets: reading them from SAMPLE_TYPE,
// keeping their start times increasing, and writing back only the slots that changed.
// Slot indexes run from 0 to 7; slot index i is kept in the SAMPLE_TYPE row whose PK is i + 1.
class SlotSchedule {
public:
    static constexpr int kSlotCount = 8;
    // The caption of a medication button whose slot has no medication.
    static constexpr const char* kNoMedicationCaption = "Medication";

    // Eight empty slots until load() fills them.
    SlotSchedule() = default;

    // Fills the slots from the live SAMPLE_TYPE rows in ascending start time; rows after
    // the eighth are ignored, and slots without a row stay empty.
    void load(Database& db);

    const SlotEdit& slot(int index) const { return m_slots.at(static_cast<size_t>(index)); }
    void setName(int index, const QString& name) { at(index).name = name; }
    void setMedication(int index, const QString& medication) { at(index).medication = medication; }
    // The patient picked a start time; an unchanged one keeps the stored text.
    void setTime(int index, const QTime& start) { at(index).start.pick(start); }

    // Why the slot may not start at this time, or nothing when it may: every slot after the
    // first must start after the slot before it and before the slot after it. All slots lie
    // on one day, so only their hours and minutes are compared. The first slot's time is not
    // checked here (the page does not let it change).
    std::optional<QString> timeRefusal(int index, const QTime& start) const;

    // Writes each slot whose name, medication or start time differs from its row, in slot
    // order. A slot whose row is missing is stored as a new row. A failed write is reported
    // under "Database" and the remaining slots are still stored.
    void store(Database& db, Prompts& prompts) const;

    static QString medicationCaption(const QString& medication);

private:
    SlotEdit& at(int index) { return m_slots.at(static_cast<size_t>(index)); }

    std::array<SlotEdit, kSlotCount> m_slots;
};
