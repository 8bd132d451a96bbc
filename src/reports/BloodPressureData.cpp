#include "reports/BloodPressureData.h"

#include "logbook/LogbookContext.h"
#include "reports/LogWeekData.h"
#include "storage/BloodPressureTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"

#include <algorithm>

namespace {

constexpr std::time_t kDay = 86400;

// A stored timestamp as its date in a strftime pattern followed by " HH:MM". The hour and
// minute are printed as written, so that a time inside a clock change reads as the patient
// entered it; a text that is no time prints as nothing rather than stopping the report.
QString storedTime(const QString& stored, const char* datePattern) {
    const StoredClock clock = storedClock(stored);
    if (!clock.valid())
        return {};
    try {
        return formatTime(fromDateText(stored.left(8)), datePattern) +
               QString::asprintf(" %02d:%02d", clock.hour, clock.minute);
    } catch (const InvalidDateText&) {
        return {};
    }
}

} // namespace

PressureClass classifyPressure(int value, int moderate, int high) {
    if (value >= high)
        return PressureClass::High;
    if (value >= moderate)
        return PressureClass::Moderate;
    return PressureClass::Plain;
}

BloodPressureData BloodPressureData::gather(LogbookContext& context, int weeks) {
    BloodPressureData data;
    Database& db = context.database();
    const Preference& preference = context.preference();
    const std::time_t now = context.clock().now();

    data.title = QStringLiteral("%1's Vital History").arg(preference.getPatientName());
    data.periodText =
        QStringLiteral("%1 through %2")
            .arg(formatTime(now - static_cast<std::time_t>(weeks) * 7 * kDay, "%B %d, %Y"),
                 formatTime(now, "%B %d, %Y"));
    data.after =
        formatTime(now - (static_cast<std::time_t>(weeks) * 7 + 1) * kDay, "%Y%m%d99999999");

    struct Vital {
        QString time;
        std::unique_ptr<BloodPressure> record;
    };
    std::vector<Vital> vitals;
    if (auto query =
            BloodPressureTable::selectAll(db, BloodPressureTable::getColumnIndex("BP_TIME"), false))
        while (auto record = BloodPressureTable::getNext(db, *query))
            if (record->getBpTime() > data.after)
                vitals.push_back({record->getBpTime(), std::move(record)});
    // The engine orders the times as numbers; the period is a comparison of texts, and so is
    // the order printed.
    std::stable_sort(vitals.begin(), vitals.end(),
                     [](const Vital& a, const Vital& b) { return a.time > b.time; });

    for (const Vital& vital : vitals) {
        const BloodPressure& bp = *vital.record;
        Row row;
        row.time = storedTime(bp.getBpTime(), "%a %b %d");
        row.systolic = bp.getSystolic();
        row.diastolic = bp.getDiastolic();
        row.systolicClass = classifyPressure(row.systolic, preference.getBpSystolicModerate(),
                                             preference.getBpSystolicHi());
        row.diastolicClass = classifyPressure(row.diastolic, preference.getBpDiastolicModerate(),
                                              preference.getBpDiastolicHi());
        if (bp.getPulse() > 0)
            row.pulse = QString::asprintf("%ld", static_cast<long>(bp.getPulse()));
        row.weight = bp.getWeight();
        if (bp.getNotePk() != 0) {
            const auto note = NoteTable::getByPk(db, bp.getNotePk());
            row.hasNote = note && !note->getText().isEmpty();
            if (row.hasNote)
                data.notes += QLatin1Char('\n') + storedTime(bp.getBpTime(), "%b %d") +
                              QLatin1Char(' ') + note->getText();
        }
        data.rows.push_back(row);
    }
    return data;
}
