#include "settings/SlotSchedule.h"

#include "storage/SampleTypeTable.h"

namespace {

constexpr int kSampleTimeColumn = 3;

// Neighbours are named on the twelve-hour clock, whatever clock the patient reads.
QString shownTime(const QTime& time) {
    return time.toString(QStringLiteral("hh:mm AP"));
}

} // namespace

void SlotSchedule::load(Database& db) {
    m_slots = {};
    auto query = SampleTypeTable::selectAll(db, kSampleTimeColumn, true);
    if (!query)
        return;
    for (SlotEdit& slot : m_slots) {
        auto row = SampleTypeTable::getNext(db, *query);
        if (!row)
            break;
        slot.name = row->getDesc();
        slot.medication = row->getMedicationDosage();
        slot.start = PickedTime(row->getSampleTime(), kSlotTimeFormat);
    }
}

std::optional<QString> SlotSchedule::timeRefusal(int index, const QTime& time) const {
    if (index <= 0 || index >= kSlotCount)
        return std::nullopt;
    const QTime previous = slot(index - 1).startTime();
    if (index == kSlotCount - 1) {
        if (time > previous)
            return std::nullopt;
        return QStringLiteral("Time must be after %1").arg(shownTime(previous));
    }
    const QTime next = slot(index + 1).startTime();
    if (time > previous && time < next)
        return std::nullopt;
    return QStringLiteral("Time must be after %1 and before %2")
        .arg(shownTime(previous), shownTime(next));
}

void SlotSchedule::store(Database& db, Prompts& prompts) const {
    for (int index = 0; index < kSlotCount; ++index) {
        const SlotEdit& edited = slot(index);
        auto row = SampleTypeTable::getByPk(db, index + 1);
        // A lookup that could not even be compiled has told the patient already.
        bool reported = false;
        if (!row) {
            reported = db.lastError() != 0;
            row = std::make_unique<SampleType>();
        }
        const QString& time = edited.start.text();
        // Rewriting an unchanged slot would mark it changed for the handheld for nothing.
        if (row->getDesc() == edited.name && row->getMedicationDosage() == edited.medication &&
            row->getSampleTime() == time)
            continue;
        row->setDesc(edited.name);
        row->setMedicationDosage(edited.medication);
        row->setSampleTime(time);
        if (!SampleTypeTable::save(db, *row) && !reported)
            prompts.error(QStringLiteral("Database"), db.errorText());
    }
}

QString SlotSchedule::medicationCaption(const QString& medication) {
    return medication.isEmpty() ? QString::fromLatin1(kNoMedicationCaption) : medication;
}
