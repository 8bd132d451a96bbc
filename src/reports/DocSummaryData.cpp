#include "reports/DocSummaryData.h"

#include "logbook/LogbookContext.h"
#include "storage/A1cTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

constexpr int kDaysPerWeek = 7;
constexpr std::time_t kSecondsPerDay = 86400;
// Vials this long past their expiry are simply expired; shortly after, the count is still
// worth reading.
constexpr std::int64_t kExpiredAfterDays = -35;

// The group of the averages a week index counts in besides "Overall": weeks 1 and 2 alone,
// then two weeks each; later weeks count only overall.
int weekGroup(int weekIndex) {
    static constexpr std::array<int, 6> kGroups = {0, 1, 2, 2, 3, 3};
    return weekIndex < static_cast<int>(kGroups.size()) ? kGroups[weekIndex] : -1;
}

// A stored date or timestamp written with a strftime pattern; empty when it is not a date.
QString storedText(const QString& stored, const char* pattern) {
    try {
        const std::time_t time =
            stored.size() > 8 ? fromDateTimeText(stored) : fromDateText(stored);
        return formatTime(time, pattern);
    } catch (const InvalidDateText&) {
        return {};
    }
}

QString yearsAndMonthsText(const QString& stored, const Clock& clock) {
    const YearsAndMonths span = yearsAndMonthsBetween(stored, {}, clock);
    return QString::asprintf("%d year(s) and %d month(s)", span.years, span.months);
}

template <class Table> int columnIndex(const char* name) {
    for (int i = 0; i < Table::getColumnCount(); ++i)
        if (Table::getColumnName(i) == QLatin1String(name))
            return i;
    return -1;
}

// The first `limit` live rows of a table in the order of one column.
template <class Table>
std::vector<typename Table::RecordPtr> firstRows(Database& db, const char* orderColumn,
                                                 bool ascending, int limit) {
    std::vector<typename Table::RecordPtr> rows;
    auto query = Table::selectAll(db, columnIndex<Table>(orderColumn), ascending);
    if (!query)
        return rows;
    while (static_cast<int>(rows.size()) < limit) {
        auto row = Table::getNext(db, *query);
        if (!row)
            break;
        rows.push_back(std::move(row));
    }
    return rows;
}

// Inserts before the first element the new one beats; equal values keep the one found first
// in front. Only the first few are kept.
template <class Beats>
void insertRanked(std::vector<DocSummaryData::Extreme>& list, const DocSummaryData::Extreme& item,
                  Beats beats) {
    auto at = list.begin();
    while (at != list.end() && !beats(item.glucose, at->glucose))
        ++at;
    if (at - list.begin() >= DocSummaryData::kExtremeCount)
        return;
    list.insert(at, item);
    if (static_cast<int>(list.size()) > DocSummaryData::kExtremeCount)
        list.pop_back();
}

QStringList protocolLines(const QString& text) {
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(kBreak);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines.mid(0, DocSummaryData::kProtocolRows);
}

struct Accumulator {
    std::array<std::array<long long, DocSummaryData::kGroupCount>, DocSummaryData::kMaxSlots> sum{};
    std::array<std::array<int, DocSummaryData::kGroupCount>, DocSummaryData::kMaxSlots> count{};

    void add(int slotNumber, int weekIndex, int glucose) {
        const int slot = slotNumber - 1;
        sum[slot][DocSummaryData::kOverall] += glucose;
        ++count[slot][DocSummaryData::kOverall];
        const int group = weekGroup(weekIndex);
        if (group < 0)
            return;
        sum[slot][group] += glucose;
        ++count[slot][group];
    }
};

void readPatient(DocSummaryData& data, LogbookContext& context) {
    const Preference& pref = context.preference();
    const Clock& clock = context.clock();
    DocSummaryData::Patient& p = data.patient;
    p.name = pref.getPatientName();
    // A date the patient never entered prints as an empty field, not as a year 0 and an age
    // of two thousand years.
    if (!pref.getBirthDate().isEmpty()) {
        p.birthDate = DocSummaryData::longDate(pref.getBirthDate());
        p.age = yearsAndMonthsText(pref.getBirthDate(), clock);
    }
    if (!pref.getDxDate().isEmpty()) {
        p.dxDate = DocSummaryData::longDate(pref.getDxDate());
        p.duration = yearsAndMonthsText(pref.getDxDate(), clock);
    }
    p.physician = pref.getDoctorName();
    p.phone = pref.getDoctorPhone();
    p.fax = QStringLiteral(" Fax:  %1").arg(pref.getDoctorFax());
}

// One walk over the period's days, newest first, feeding both the extremes and the averages.
void readPeriod(DocSummaryData& data, LogbookContext& context, int weeks, Accumulator& acc) {
    Database& db = context.database();
    const Preference& pref = context.preference();
    const QDate endDay = QDateTime::fromSecsSinceEpoch(data.periodEnd).date();
    for (int back = 0; back < weeks * kDaysPerWeek; ++back) {
        const QString date = endDay.addDays(-back).toString(QStringLiteral("yyyyMMdd"));
        auto day = SampleDateTable::getByDate(db, date);
        if (!day)
            continue;
        auto query = SampleTable::selectByDay(db, day->getPk(), true);
        if (!query)
            continue;
        while (auto entry = SampleTable::getNext(db, *query)) {
            const int glucose = entry->getGlucoseCnt();
            if (glucose < 1)
                continue;
            const int slotNumber = entry->getSampleTypePk();
            if (slotNumber >= 1 && slotNumber <= DocSummaryData::kMaxSlots)
                acc.add(slotNumber, back / kDaysPerWeek, glucose);

            DocSummaryData::Extreme item;
            item.entryPk = entry->getPk();
            item.date = storedText(entry->getSampleTime(), "%A, %B %d");
            item.slot = context.slotAt(slotNumber - 1).getDesc();
            item.time = storedText(entry->getSampleTime(), "%H:%M");
            item.glucose = glucose;
            item.range = pref.getGlucoseRange(entry->getSampleTime());
            item.dayType = day->getDayTypeId();
            item.ketone = entry->getKeytoneCode();
            insertRanked(data.lowest, item, [](int a, int b) { return a < b; });
            insertRanked(data.highest, item, [](int a, int b) { return a > b; });
        }
    }
}

void fillAverages(DocSummaryData& data, LogbookContext& context, const Accumulator& acc) {
    const Preference& pref = context.preference();
    const int shown = std::min(context.slotCount(), DocSummaryData::kMaxSlots);
    for (int i = 0; i < shown; ++i) {
        const SampleTypeAbs& slot = context.slotAt(i);
        DocSummaryData::SlotAverages row;
        row.name = slot.getDesc();
        row.range = pref.getGlucoseRange(slot.getSampleTime());
        row.target = QString::asprintf("%d to %d", row.range.lo, row.range.hi);
        for (int g = 0; g < DocSummaryData::kGroupCount; ++g)
            if (acc.count[i][g] > 0)
                row.averages[g] = static_cast<int>(acc.sum[i][g] / acc.count[i][g]);
        data.slotRows.push_back(row);
    }

    long long sum = 0;
    long long count = 0;
    for (int i = 0; i < DocSummaryData::kMaxSlots; ++i) {
        sum += acc.sum[i][DocSummaryData::kOverall];
        count += acc.count[i][DocSummaryData::kOverall];
    }
    data.periodAverage = count > 0 ? static_cast<int>(sum / count) : 0;
    data.periodAverageMgDl = pref.toMgDl(data.periodAverage);
    data.predictedA1c = DocSummaryData::predictA1c(data.periodAverageMgDl);
    data.periodAverageText = QStringLiteral("%1 %2").arg(
        QStringLiteral("Average for this period:"), formatGlucose(data.periodAverage, data.unit));
    data.predictedA1cText =
        QString::asprintf("%s %2.1f", "Predicted A1c:", static_cast<double>(data.predictedA1c));
}

void readA1c(DocSummaryData& data, Database& db) {
    const auto records = firstRows<A1cTable>(db, "a1c_date", false, DocSummaryData::kA1cCount);
    const int count = static_cast<int>(records.size());
    for (int i = 0; i < count; ++i) {
        const A1cAbs& record = *records[i];
        data.a1cRows.push_back(
            {storedText(record.getA1cDate(), "%B %d, %Y"), record.getA1cCount()});
    }
    // The newest result sits at the right edge; older ones step to the left.
    for (int i = count - 1; i >= 0; --i) {
        const A1cAbs& record = *records[i];
        data.a1cPoints.push_back({DocSummaryData::kA1cCount - 1 - i,
                                  DocSummaryData::a1cTenths(record.getA1cCount()),
                                  storedText(record.getA1cDate(), "%b %Y")});
    }
}

void readProtocols(DocSummaryData& data, Database& db) {
    const auto records = firstRows<ProtocolTable>(db, "EFFECTIVE_DATE", false, 2);
    if (records.empty() || records[0]->getText().size() <= 1)
        return;
    auto protocol = [](const ProtocolAbs& record, const char* title) {
        return DocSummaryData::Protocol{
            QString::asprintf(title, qPrintable(storedText(record.getEffectiveDate(), "%m/%d"))),
            protocolLines(record.getText())};
    };
    data.currentProtocol = protocol(*records[0], "Current Protocol: %s");
    if (records.size() > 1)
        data.previousProtocol = protocol(*records[1], "Previous Protocol: %s");
}

void readMedications(DocSummaryData& data, Database& db, const Clock& clock) {
    auto query = MedicationTable::selectAllByDesc(db);
    if (!query)
        return;
    while (static_cast<int>(data.medications.size()) < DocSummaryData::kMedicationCount) {
        auto med = MedicationTable::getNext(db, *query);
        if (!med)
            break;
        if (!med->getActiveBol())
            continue;
        DocSummaryData::MedicationRow row;
        row.name = QStringLiteral("[%1] %2").arg(med->getMedCode(), med->getMedDesc());
        row.openDate = storedText(med->getOpenDate(), "%B %d");
        // A vial never opened counts from the beginning of time: long expired.
        std::int64_t left = kExpiredAfterDays - 1;
        try {
            left = med->getDaysLeft(clock);
        } catch (const InvalidDateText&) {
        }
        row.age = left < kExpiredAfterDays ? QStringLiteral("Expired")
                                           : QString::asprintf("%ld", static_cast<long>(left));
        row.rxNumber = med->getRxOrderId();
        data.medications.push_back(row);
    }
}

void readMeters(DocSummaryData& data, Database& db) {
    for (const auto& meter : firstRows<MeterTable>(db, "DESC", true, DocSummaryData::kMeterCount))
        data.meters.push_back({meter->getDesc(), meter->getMfg(), meter->getModel(),
                               storedText(meter->getSeriviceDate(), "%B %Y"),
                               meter->getSerialNo()});
}

void readVitals(DocSummaryData& data, Database& db) {
    for (const auto& bp :
         firstRows<BloodPressureTable>(db, "BP_TIME", false, DocSummaryData::kVitalCount)) {
        DocSummaryData::VitalRow row;
        row.time = storedText(bp->getBpTime(), "%b %d %y %I:%M");
        row.pressure = QString::asprintf("%ld / %ld", static_cast<long>(bp->getSystolic()),
                                         static_cast<long>(bp->getDiastolic()));
        if (bp->getPulse() != 0)
            row.pulse = QString::asprintf("%ld(p)", static_cast<long>(bp->getPulse()));
        if (!bp->getWeight().isEmpty())
            row.weight = bp->getWeight() + QStringLiteral("(w)");
        data.vitals.push_back(row);
    }
}

} // namespace

DocSummaryData DocSummaryData::gather(LogbookContext& context, std::time_t periodEnd, int weeks,
                                      const QString& notes) {
    DocSummaryData data;
    Database& db = context.database();
    data.unit = context.preference().getGlucoseSampleCode();
    data.periodEnd = periodEnd;
    data.periodStart = periodEnd - static_cast<std::time_t>(weeks) * kDaysPerWeek * kSecondsPerDay;
    data.periodText = QStringLiteral("%1 through %2")
                          .arg(formatTime(data.periodStart, "%B %d, %Y"),
                               formatTime(data.periodEnd, "%B %d, %Y"));

    readPatient(data, context);
    Accumulator acc;
    readPeriod(data, context, weeks, acc);
    fillAverages(data, context, acc);
    readA1c(data, db);
    readProtocols(data, db);
    readMedications(data, db, context.clock());
    readMeters(data, db);
    readVitals(data, db);

    // Empty lines are kept as one blank so that the split below does not swallow them.
    static const QRegularExpression kBreak(QStringLiteral("[\r\n]"));
    data.notes = spaceEmptyLines(notes).split(kBreak, Qt::SkipEmptyParts);
    return data;
}

QString DocSummaryData::longDate(const QString& stored) {
    static const std::array<const char*, 12> kMonths = {
        "January", "Febuary", "March",     "April",   "May",      "June",
        "July",    "August",  "September", "October", "November", "December"};
    const int year = stored.left(4).toInt();
    const int month = stored.mid(4, 2).toInt();
    const int day = stored.mid(6, 2).toInt();
    const char* name = month >= 1 && month <= 12 ? kMonths[month - 1] : kMonths[0];
    return QString::asprintf("%s %d, %d", name, day, year);
}

int DocSummaryData::a1cTenths(const QString& text) {
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    auto digits = [](QStringView part) {
        int value = 0;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                break;
            value = value * 10 + (c.unicode() - '0');
        }
        return value;
    };
    if (point < 0)
        return digits(text) * 10;
    const QStringView after = QStringView(text).mid(point + 1, 1);
    return digits(QStringView(text).left(point)) * 10 + digits(after);
}

float DocSummaryData::predictA1c(int averageMgDl) {
    return static_cast<float>((averageMgDl - 150) / 30.0 + 7.0);
}
