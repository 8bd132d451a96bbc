#include "reports/DailySummaryData.h"

#include "logbook/LogbookContext.h"
#include "storage/Conversions.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr int kDaysPerWeek = 7;

// The lowest, highest and count of the day's non-zero readings.
void readEntries(Database& db, DailySummaryData::Row& row) {
    auto query = SampleTable::selectByDay(db, row.dayKey, true);
    if (!query)
        return;
    while (auto entry = SampleTable::getNext(db, *query)) {
        const int glucose = entry->getGlucoseCnt();
        if (glucose != 0) {
            ++row.readings;
            row.lowest = std::min(row.lowest, glucose);
        }
        row.highest = std::max(row.highest, glucose);
    }
}

QString dateText(const QString& stored, const char* pattern) {
    try {
        return formatTime(fromDateText(stored), pattern);
    } catch (const InvalidDateText&) {
        return stored;
    }
}

} // namespace

DailySummaryData DailySummaryData::gather(LogbookContext& context, std::time_t periodEnd, int weeks,
                                          int firstPage) {
    DailySummaryData data;
    const Preference& pref = context.preference();
    data.patientName = pref.getPatientName();
    data.unit = pref.getGlucoseSampleCode();
    data.range = pref.getGlucoseRange(QString());

    Database& db = context.database();
    const QDate endDay = QDateTime::fromSecsSinceEpoch(periodEnd).date();
    for (int back = 0; back < weeks * kDaysPerWeek; ++back) {
        const QString date = endDay.addDays(-back).toString(QStringLiteral("yyyyMMdd"));
        const auto day = SampleDateTable::getByDate(db, date);
        if (!day)
            continue;
        Row row;
        row.dayKey = day->getPk();
        row.date = day->getSampleDate();
        row.dayText = dateText(row.date, "%B %d,");
        row.weekday = dateText(row.date, "%A");
        row.average = day->getAvgGlucoseCnt();
        row.dayType = day->getDayTypeId();
        row.ketone = day->getMaxKeytoneCode();
        row.siteChange = day->getNewSiteBol();
        readEntries(db, row);
        data.rows.push_back(row);
    }

    const int count = static_cast<int>(data.rows.size());
    for (int first = 0; first < count; first += kRowsPerPage) {
        Page page;
        page.first = first;
        page.last = std::min(first + kRowsPerPage, count) - 1;
        page.number = firstPage + first / kRowsPerPage;
        for (int i = page.first; i <= page.last; ++i) {
            const Row& row = data.rows[static_cast<size_t>(i)];
            if (row.hasReadings())
                page.highest = std::max({page.highest, row.lowest, row.average, row.highest});
        }
        page.period =
            QStringLiteral("%1 through %2")
                .arg(dateText(data.rows[static_cast<size_t>(page.last)].date, "%B %d, %Y"),
                     dateText(data.rows[static_cast<size_t>(page.first)].date, "%B %d, %Y"));
        data.pages.push_back(page);
    }
    return data;
}

std::vector<DailySummaryData::ChartPoint> DailySummaryData::chartPoints(const Page& page) const {
    std::vector<ChartPoint> points;
    for (int i = page.last; i >= page.first; --i) {
        const Row& row = rows[static_cast<size_t>(i)];
        ChartPoint point;
        point.row = i;
        if ((page.last - i) % kLabelEvery == 0)
            point.label = dateText(row.date, "%m/%d");
        if (row.hasReadings()) {
            point.lowest = row.lowest;
            point.average = row.average;
            point.highest = row.highest;
        }
        points.push_back(point);
    }
    return points;
}

std::optional<int> DailySummaryData::chartOffset(int value, int highest, int height) {
    // Whole device units per tenth of the top value first, then the value's share of them; the
    // top value itself may therefore land a little off the chart's top edge.
    const int tenth = highest / 10;
    if (tenth <= 0)
        return std::nullopt;
    return value * (height / tenth) / 10;
}
