#include "LogbookGenerator.h"

#include "storage/Conversions.h"
#include "storage/Indexes.h"
#include "storage/MedicationTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "storage/Transaction.h"

#include <QDate>
#include <random>

namespace {

struct SlotPlan {
    const char* time; // start of the slot, HHMM
    const char* name;
    int carbs; // typical grams
    bool meal;
};

constexpr SlotPlan kSlots[] = {
    {"0700", "Breakfast", 55, true}, {"0930", "Snack AM", 15, false},
    {"1130", "Lunch", 70, true},     {"1430", "Snack PM", 20, false},
    {"1730", "Dinner", 80, true},    {"1930", "Evening", 10, false},
    {"2200", "Bedtime", 15, false},  {"0200", "Night", 0, false},
};

QString amount(double units) {
    return QString::number(units, 'f', units == static_cast<int>(units) ? 0 : 1);
}

} // namespace

bool createLogbookSchema(Database& db) {
    bool ok = SampleDateTable::createTable(db) && SampleTable::createTable(db) &&
              SampleTypeTable::createTable(db) && NoteTable::createTable(db) &&
              MedicationTable::createTable(db);
    for (const SlotPlan& plan : kSlots) {
        SampleType slot;
        slot.setSampleTime(plan.time);
        slot.setDesc(plan.name);
        ok = SampleTypeTable::save(db, slot) && ok;
    }
    const char* insulins[][2] = {{"H", "Humalog"}, {"G", "Lantus"}};
    for (auto& insulin : insulins) {
        Medication med;
        med.setMedCode(insulin[0]);
        med.setMedDesc(insulin[1]);
        ok = MedicationTable::save(db, med) && ok;
    }
    return ensureIndexes(db) && ok;
}

GeneratedCounts generateLogbook(Database& db, const LogbookShape& shape) {
    GeneratedCounts counts;
    std::mt19937 random(shape.seed);
    std::normal_distribution<double> glucose(145.0, 45.0);
    std::uniform_int_distribution<int> percent(0, 99);
    const int slotCount = std::min<int>(shape.entriesPerDay, std::size(kSlots));

    QDate date = QDate::fromString(shape.firstDate, "yyyyMMdd");
    // The whole logbook is one unit of work, as an import is: one flush to disk at the end,
    // so the figure is our code's and not the disk's.
    Transaction unit(db);
    for (int d = 0; d < shape.days; ++d, date = date.addDays(1)) {
        const QString dateText = date.toString("yyyyMMdd");
        // The day row first, found or made once for all of the day's entries.
        int dayPk = 0;
        if (auto stored = SampleDateTable::getByDate(db, dateText)) {
            dayPk = stored->getPk();
        } else {
            SampleDate day;
            day.setSampleDate(dateText);
            if (SampleDateTable::save(db, day))
                ++counts.days;
            dayPk = day.getPk();
        }
        for (int s = 0; s < slotCount; ++s) {
            const SlotPlan& plan = kSlots[s];
            Sample entry;
            entry.setSampleTypePk(s + 1);
            entry.setSampleTime(dateText + plan.time + "00");
            entry.setGlucoseCnt(std::clamp(static_cast<int>(glucose(random)), 40, 450));
            entry.setCarbCnt(plan.carbs ? plan.carbs + percent(random) % 25 - 12 : 0);
            entry.setDeliveryCode(1);
            QString doses;
            if (plan.meal)
                doses = amount(entry.getCarbCnt() / 12.0) + "H";
            if (s == 6)
                doses = "22G";
            if (!doses.isEmpty()) {
                entry.setMedicationDosage(doses);
                entry.setInsulinTime(entry.getSampleTime());
            }
            if (entry.getGlucoseCnt() > 200 && plan.meal) {
                entry.setCorrectionDosage(amount((entry.getGlucoseCnt() - 120) / 40.0) + "H");
                entry.setInsulinTime(entry.getSampleTime());
            }
            if (entry.getGlucoseCnt() > 300 && percent(random) < 40)
                entry.setKeytoneCode(2 + percent(random) % 3);
            if (percent(random) < 10) {
                Note note;
                note.setNoteType(NoteType::LogEntry);
                note.setText(QStringLiteral("Walked the dog before %1; felt fine").arg(plan.name));
                NoteTable::save(db, note);
                entry.setNotePk(note.getPk());
                ++counts.notes;
            }
            entry.setSampleDatePk(dayPk);
            if (SampleTable::save(db, entry, SyncState::Added))
                ++counts.entries;
        }
    }
    unit.commit();
    return counts;
}

GeneratedCounts generateViewedLogbook(Database& db) {
    createLogbookSchema(db);
    PreferenceTable::createTable(db);
    QbPreferenceTable::createTable(db);
    QbTargetTable::createTable(db);
    return generateLogbook(db, LogbookShape{});
}
