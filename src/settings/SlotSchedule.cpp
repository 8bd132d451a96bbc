#include "settings/SlotSchedule.h"

#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/SampleTypeTable.h"

namespace {

constexpr int kSampleTimeColumn = 3;
// Where hour and minute sit in a stored date-and-time text.
constexpr int kTimeOfDayAt = 8;
constexpr int kTimeOfDayLength = 4;

// A date-and-time text with its hour and minute replaced by a four-digit time of day.
std::optional<std::time_t> withTimeOfDay(QString dateTime, const QString& hourMinute) {
    dateTime.replace(
        kTimeOfDayAt, kTimeOfDayLength,
        hourMinute.left(kTimeOfDayLength).leftJustified(kTimeOfDayLength, QLatin1Char('0')));
    try {
        return fromDateTimeText(dateTime);
    } catch (const InvalidDateText&) {
        return std::nullopt;
    }
}

QString shownTime(std::time_t time) {
    return formatTime(time, "%I:%M %p");
}

} // namespace

void SlotSchedule::load(Database& db, const Clock& clock) {
    m_slots = {};
    auto query = SampleTypeTable::selectAll(db, kSampleTimeColumn, true);
    if (!query)
        return;
    const QString today = toDateTimeText(clock.now());
    for (SlotEdit& slot : m_slots) {
        auto row = SampleTypeTable::getNext(db, *query);
        if (!row)
            break;
        slot.name = row->getDesc();
        slot.medication = row->getMedicationDosage();
        // A start time that is no time of day leaves the slot at time 0 rather than keeping
        // the whole sheet from opening.
        slot.time = withTimeOfDay(today, row->getSampleTime()).value_or(0);
    }
}

std::optional<QString> SlotSchedule::timeRefusal(int index, std::time_t time) const {
    if (index <= 0 || index >= kSlotCount)
        return std::nullopt;
    const std::time_t previous = slot(index - 1).time;
    if (index == kSlotCount - 1) {
        if (time > previous)
            return std::nullopt;
        return QStringLiteral("Time must be after %1").arg(shownTime(previous));
    }
    const std::time_t next = slot(index + 1).time;
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
        const QString time = storedTime(edited.time);
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

std::time_t SlotSchedule::atTimeOfDay(std::time_t day, int hour, int minute) {
    return withTimeOfDay(toDateTimeText(day), QString::asprintf("%2.2d%2.2d", hour, minute))
        .value_or(day);
}

QString SlotSchedule::storedTime(std::time_t time) {
    return formatTime(time, "%H%M");
}

QString SlotSchedule::medicationCaption(const QString& medication) {
    return medication.isEmpty() ? QString::fromLatin1(kNoMedicationCaption) : medication;
}
