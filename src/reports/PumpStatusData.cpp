#include "reports/PumpStatusData.h"

#include "logbook/LogbookContext.h"
#include "storage/BasilRateTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/MedicationTable.h"
#include "storage/Preference.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleTable.h"

#include <QRegularExpression>

namespace {

constexpr std::time_t kDay = 86400;
// SAMPLE_TIME's position among the SAMPLE columns.
constexpr int kSampleTimeColumn = 5;
// START_TIME's position among the BASIL_RATE columns.
constexpr int kStartTimeColumn = 3;

// Every live row of a schedule in ascending start time: its time as the patient reads times
// and its value.
template <class Table, class TimeOf, class ValueOf>
void readSchedule(Database& db, int timeColumn, bool military, const Clock& clock,
                  PumpStatusData::Column& column, const TimeOf& timeOf, const ValueOf& valueOf) {
    if (auto query = Table::selectAll(db, timeColumn, true))
        while (auto row = Table::getNext(db, *query))
            column.rows.push_back(
                {PumpStatusData::scheduleTime(timeOf(*row), military, clock), valueOf(*row)});
}

} // namespace

QString PumpStatusData::durationText(std::time_t from, std::time_t to) {
    const long long seconds = static_cast<long long>(to - from);
    const long long days = seconds / kDay;
    const long long hours = seconds / 3600 - days * 24;
    return QString::asprintf("%lld days %lld hrs", days, hours);
}

QString PumpStatusData::scheduleTime(const QString& stored, bool military, const Clock& clock) {
    // The stored hour and minute are shown as they are: read through today's date, a 02:30
    // would turn into 03:30 on the day the clock springs forward. Only a text that names no
    // time is read the way the clock reads it.
    static const QRegularExpression kForm(QStringLiteral("^(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch match = kForm.match(stored);
    if (match.hasMatch()) {
        const int hour = match.captured(1).toInt();
        const int minute = match.captured(2).toInt();
        if (hour < 24 && minute < 60)
            return formatTimeOfDay(hour, minute, military);
    }
    return formatTimeOfDay(clockTimeToday(stored, clock), military);
}

PumpStatusData PumpStatusData::gather(LogbookContext& context, std::time_t periodEnd, int weeks) {
    Database& db = context.database();
    const Preference& preference = context.preference();
    const Clock& clock = context.clock();
    const bool military = preference.getMilitaryTimeBol();

    PumpStatusData data;
    data.title = QStringLiteral("%1's RivezAdozu and Infustion Site Report")
                     .arg(preference.getPatientName());
    const std::time_t start = periodEnd - static_cast<std::time_t>(weeks) * 7 * kDay;
    data.periodText = QStringLiteral("%1 through %2")
                          .arg(formatTime(start, "%B %d, %Y"), formatTime(periodEnd, "%B %d, %Y"));

    QString code;
    int minutes = 0;
    if (auto general = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk)) {
        code = general->getMedCode();
        minutes = general->getMedMinutes();
    }
    const auto medication = MedicationTable::getByCode(db, code);
    const QString insulin =
        medication ? medication->getMedDesc() : QString::fromLatin1(kUnknownInsulin);
    data.insulinText =
        QString::asprintf("Using %s [%s] insulin with a duration of %d hours and %d minutes",
                          qPrintable(insulin), qPrintable(code), minutes / 60, minutes % 60);

    // The four schedules, each in ascending start time.
    const char* const headings[kColumnCount] = {"Basil Rates", "Glucose Targets", "Carb Ratio @ 1u",
                                                "Sensitivity @ 1u"};
    for (int i = 0; i < kColumnCount; ++i)
        data.columns[i].heading = QString::fromLatin1(headings[i]);
    readSchedule<BasilRateTable>(
        db, kStartTimeColumn, military, clock, data.columns[0],
        [](const BasilRateAbs& r) { return r.getStartTime(); },
        [](const BasilRateAbs& r) { return r.getBasilMedAmt(); });
    readSchedule<QbTargetTable>(
        db, QbTargetTable::kTimeColumn, military, clock, data.columns[1],
        [](const QbTargetAbs& r) { return r.getTargetTime(); },
        [](const QbTargetAbs& r) {
            return QString::asprintf("%d to %d", r.getGlucoseLo(), r.getGlucoseHi());
        });
    readSchedule<QbRatioTable>(
        db, QbRatioTable::kTimeColumn, military, clock, data.columns[2],
        [](const QbRatioAbs& r) { return r.getRatioTime(); },
        [](const QbRatioAbs& r) { return QString::number(r.getCarbCnt()); });
    readSchedule<QbSensitivityTable>(
        db, QbSensitivityTable::kTimeColumn, military, clock, data.columns[3],
        [](const QbSensitivityAbs& r) { return r.getSensTime(); },
        [](const QbSensitivityAbs& r) { return QString::number(r.getGlucoseCnt()); });

    // The site changes, newest first, back to a day before the period's first day. The entries
    // come newest first, so the first change older than that ends the list.
    const QString from =
        toDateTimeText(periodEnd - (static_cast<std::time_t>(weeks) * 7 + 1) * kDay);
    if (auto query = SampleTable::selectAll(db, kSampleTimeColumn, false)) {
        while (auto entry = SampleTable::getNext(db, *query)) {
            if (!entry->getNewSiteBol())
                continue;
            if (entry->getSampleTime() < from)
                break;
            SiteChange change;
            try {
                change.at = fromDateTimeText(entry->getSampleTime());
            } catch (const InvalidDateText&) {
                continue; // a damaged time says nothing about when the site was changed
            }
            change.date = formatTime(change.at, "%a %b, %d");
            change.time = formatTimeOfDay(change.at, military);
            if (!data.siteChanges.empty())
                change.duration = durationText(change.at, data.siteChanges.back().at);
            data.siteChanges.push_back(change);
        }
    }
    return data;
}
