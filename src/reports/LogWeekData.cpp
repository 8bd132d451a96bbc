#include "reports/LogWeekData.h"

#include <QRegularExpression>

#include "logbook/LogbookContext.h"
#include "storage/Conversions.h"
#include "storage/NoteTable.h"
#include "storage/ProtocolTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

#include <QRegularExpression>
#include <memory>

namespace {

constexpr std::time_t kDay = 86400;
const QString kLineBreak = QStringLiteral("\r\n");

QString noteText(Database& db, int notePk) {
    if (notePk <= 0)
        return {};
    auto note = NoteTable::getByPk(db, notePk);
    return note ? note->getText() : QString();
}

// A protocol's heading and text at the end of a day's notes.
void appendProtocol(QString& notes, const ProtocolAbs& protocol) {
    if (!notes.isEmpty())
        notes += kLineBreak;
    // The month and day as stored; a protocol saved without a date keeps an empty pair.
    const QString date = protocol.getEffectiveDate();
    const bool dated = date.size() == 8 && storedClock(date + QStringLiteral("000000")).valid();
    notes += QStringLiteral("Protocol:(%1)")
                 .arg(dated ? date.mid(4, 2) + u'/' + date.mid(6, 2) : QString()) +
             kLineBreak + protocol.getText();
}

class WeekCollector {
public:
    WeekCollector(LogbookContext& context, LogWeekData& week)
        : m_context(context), m_db(context.database()), m_week(week),
          m_medications(context.medicationLookup()) {}

    void readDays() {
        for (int i = 0; i < 7; ++i) {
            WeekDay& day = m_week.days[i];
            day.date = m_week.weekDate - (6 - i) * kDay;
            auto record = SampleDateTable::getByDate(m_db, toDateText(day.date));
            m_dayPks[i] = record ? record->getPk() : 0;
            if (!record)
                continue;
            day.dayType = record->getDayTypeId();
            day.siteChange = record->getNewSiteBol();
            const QString note = noteText(m_db, record->getNotePk());
            day.hasNote = !note.isEmpty();
            if (day.hasNote)
                day.notes = formatTime(day.date, "(%a)") + note;
        }
    }

    void readSlot(const SampleTypeAbs& slotRecord) {
        WeekSlot slot;
        slot.name = slotRecord.getDesc();
        slot.time = slotRecord.getSampleTime();
        slot.range = m_context.preference().getGlucoseRange(slot.time);
        std::array<std::vector<WeekCell>, 7> entries;
        std::size_t longest = 0;
        for (int i = 0; i < 7; ++i) {
            if (m_dayPks[i] > 0)
                entries[i] = readEntries(i, slotRecord.getPk());
            longest = std::max(longest, entries[i].size());
        }
        for (std::size_t pass = 0; pass < longest; ++pass) {
            WeekRow row;
            for (int i = 0; i < 7; ++i) {
                if (pass >= entries[i].size())
                    continue;
                const WeekCell& cell = entries[i][pass];
                row.cells[i] = cell;
                add(slot.tally, cell);
                add(m_week.days[i].tally, cell);
                if (cell.otherDelivery)
                    m_week.days[i].delivery = cell.delivery;
            }
            slot.rows.push_back(std::move(row));
        }
        m_week.logSlots.push_back(std::move(slot));
    }

    void readProtocols() {
        for (int i = 0; i < 7; ++i) {
            const QString date = toDateText(m_week.days[i].date);
            auto protocol = ProtocolTable::getByDate(m_db, date);
            // The first day also shows the protocol that was already in force.
            if (!protocol && i == 0)
                protocol = ProtocolTable::getLatestBefore(m_db, date);
            if (protocol)
                appendProtocol(m_week.days[i].notes, *protocol);
        }
    }

private:
    std::vector<WeekCell> readEntries(int dayIndex, int slotPk) {
        std::vector<WeekCell> cells;
        auto query = SampleTable::selectByDayAndType(m_db, m_dayPks[dayIndex], slotPk, true);
        if (!query)
            return cells;
        QString& notes = m_week.days[dayIndex].notes;
        while (auto entry = SampleTable::getNext(m_db, *query)) {
            WeekCell cell;
            cell.sampleTime = entry->getSampleTime();
            cell.glucose = entry->getGlucoseCnt();
            cell.carbs = entry->getCarbCnt();
            cell.dosage = entry->getMedicationDosage();
            cell.correction = entry->getCorrectionDosage();
            cell.siteChange = entry->getNewSiteBol();
            cell.ketone = entry->getKeytoneCode();
            cell.delivery = entry->getDeliveryCode();
            cell.otherDelivery = cell.delivery != m_week.defaultDelivery;
            const QString note = noteText(m_db, entry->getNotePk());
            cell.hasNote = !note.isEmpty();
            if (cell.hasNote) {
                if (notes.isEmpty())
                    notes = formatTime(m_week.days[dayIndex].date, "(%a)");
                const StoredClock clock = storedClock(cell.sampleTime);
                notes += kLineBreak +
                         (clock.valid() ? QString::asprintf(":%02d:%02d:", clock.hour, clock.minute)
                                        : QStringLiteral("::")) +
                         note;
            }
            cells.push_back(std::move(cell));
        }
        return cells;
    }

    void add(WeekTally& tally, const WeekCell& cell) const {
        if (cell.glucose != 0) {
            tally.glucoseSum += cell.glucose;
            ++tally.glucoseCount;
        }
        if (cell.carbs != 0) {
            tally.carbSum += cell.carbs;
            ++tally.carbCount;
        }
        if (!cell.dosage.isEmpty())
            tally.insulin += dosageInsulinHundredths(cell.dosage, m_medications);
        if (!cell.correction.isEmpty())
            tally.correction += dosageInsulinHundredths(cell.correction, m_medications);
        tally.hasNote = tally.hasNote || cell.hasNote;
        tally.maxKetone = std::max(tally.maxKetone, cell.ketone);
    }

    LogbookContext& m_context;
    Database& m_db;
    LogWeekData& m_week;
    MedicationLookup m_medications;
    std::array<int, 7> m_dayPks{};
};

} // namespace

LogWeekData LogWeekData::collect(LogbookContext& context, std::time_t weekDate) {
    LogWeekData week;
    week.weekDate = weekDate;
    const Preference& preference = context.preference();
    week.glucoseUnit = preference.getGlucoseSampleCode();
    week.militaryTime = preference.getMilitaryTimeBol();
    week.defaultDelivery = preference.getDeliveryCode();
    week.range = preference.getGlucoseRange(QString());

    WeekCollector collector(context, week);
    collector.readDays();
    for (int i = 0; i < context.slotCount(); ++i)
        collector.readSlot(context.slotAt(i));
    collector.readProtocols();
    return week;
}

LogWeekTotals LogWeekData::weekTotals() const {
    LogWeekTotals totals;
    int glucoseSum = 0, carbDays = 0, insulinDays = 0, correctionDays = 0;
    for (const WeekDay& day : days) {
        glucoseSum += day.tally.glucoseSum;
        totals.glucoseCount += day.tally.glucoseCount;
        if (day.tally.carbSum != 0) {
            totals.carbs += day.tally.carbSum;
            ++carbDays;
        }
        if (day.tally.insulin != 0) {
            totals.insulin += day.tally.insulin;
            ++insulinDays;
        }
        if (day.tally.correction != 0) {
            totals.correction += day.tally.correction;
            ++correctionDays;
        }
    }
    totals.glucose = totals.glucoseCount ? glucoseSum / totals.glucoseCount : 0;
    totals.carbs = carbDays ? totals.carbs / carbDays : 0;
    totals.insulin = insulinDays ? totals.insulin / insulinDays : 0;
    totals.correction = correctionDays ? totals.correction / correctionDays : 0;
    return totals;
}

int LogWeekData::rowCount() const {
    int rows = 0;
    for (const WeekSlot& slot : logSlots)
        rows += static_cast<int>(slot.rows.size());
    return std::max(rows, 1);
}

QString logTotalsText(int insulin, int correction, int carbs) {
    const double units = insulin / 100.0;
    QString text;
    int ratio = 0;
    if (units != 0) {
        text = QString::asprintf("%0.2fu ", units);
        ratio = static_cast<int>(carbs / units);
    }
    if (correction > 0)
        text += QString::asprintf("(%0.2fu) ", correction / 100.0);
    if (ratio != 0)
        text += QString::asprintf("%dg:1u", ratio);
    return text;
}

StoredClock storedClock(const QString& timestamp) {
    static const QRegularExpression kStamp(
        QStringLiteral("^[0-9]{8}([01][0-9]|2[0-3])([0-5][0-9])[0-9]{2}$"));
    const QRegularExpressionMatch match = kStamp.match(timestamp);
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}
