#include "logbook/LogCells.h"

#include "logbook/LogbookContext.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

#include <optional>
#include <string>

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

const std::array<LogColumnLayout, LogColumn::Count> kMainColumns = {{
    {"Date/Time", 150, kLeft},
    {"", 20, kCentre},
    {"", 20, kCentre},
    {"", 20, kCentre},
    {"", 20, kCentre},
    {"Glucose", 75, kCentre},
    {"Carbs", 75, kCentre},
    {"Ratio", 60, kCentre},
    {"Medication", 180, kLeft},
    {"Notes", 300, kLeft},
}};

// The day dialog has no room for ketones; that column is there but hidden.
const std::array<LogColumnLayout, LogColumn::Count> kCompactColumns = {{
    {"Time", 120, kLeft},
    {"", 20, kCentre},
    {"", 20, kCentre},
    {"", 0, kCentre},
    {"", 20, kCentre},
    {"Glucose", 65, kCentre},
    {"Carbs", 55, kCentre},
    {"Ratio", 60, kCentre},
    {"Medication", 150, kLeft},
    {"Notes", 250, kLeft},
}};

LogIcon ketoneIcon(int code) {
    switch (code) {
    case 1:
        return LogIcon::Ketone1;
    case 2:
        return LogIcon::Ketone2;
    case 3:
        return LogIcon::Ketone3;
    case 4:
        return LogIcon::Ketone4;
    default:
        // 0 is "not recorded"; anything else has no picture.
        return LogIcon::None;
    }
}

QString countText(int value) {
    return value != 0 ? QString::asprintf("%d", value) : QString();
}

QString noteText(Database& db, int notePk) {
    if (notePk == 0)
        return {};
    auto note = NoteTable::getByPk(db, notePk);
    return note ? note->getText() : QString();
}

QString dayDateText(const SampleDateAbs& day) {
    if (day.getSampleDate().isEmpty())
        return QStringLiteral("Date?");
    try {
        QString date = formatTime(fromDateText(day.getSampleDate()), "%m/%d %A");
        return QString::asprintf("%s #%ld", date.toUtf8().constData(), long(day.getTtlSampleCnt()));
    } catch (const InvalidDateText&) {
        // A date the handheld or an old file left unreadable is shown like a missing one.
        return QStringLiteral("Date?");
    }
}

QString entryTimeText(LogbookContext& context, const SampleAbs& entry, int filter, bool compact) {
    int slotPk = entry.getSampleTypePk();
    if (slotPk < 0)
        slotPk = 1;
    const QString slot = context.slotAt(slotPk - 1).getDesc();

    std::optional<std::time_t> time;
    try {
        time = fromDateTimeText(entry.getSampleTime());
    } catch (const InvalidDateText&) {
        // The row stays, with its slot, so that the entry can still be found and corrected.
    }
    auto written = [&time](const char* pattern) {
        return time ? formatTime(*time, pattern) : QStringLiteral("?");
    };

    if (compact) {
        // The day dialog lists the entries of one day, so the date would only repeat:
        // the 24-hour time of day followed by the slot's name.
        return written("%H:%M") + u' ' + slot;
    }
    const char* pattern = context.preference().getMilitaryTimeBol() ? "%H:%M" : "%I:%M %p";
    if (filter < 0) {
        // Entries sit under their day: the date is on the day row above.
        return QStringLiteral("  %1 @ %2").arg(slot, written(pattern));
    }
    // One slot across many days: each entry needs its own date.
    std::string withDate = std::string("%m/%d ") + pattern + " %A";
    return written(withDate.c_str());
}

QString doseText(const SampleAbs& entry) {
    const QString& medication = entry.getMedicationDosage();
    const QString& correction = entry.getCorrectionDosage();
    if (medication.isEmpty() && correction.isEmpty())
        return {};
    QString doses = medication;
    if (!correction.isEmpty())
        doses += u'(' + correction + u')';
    if (entry.getInsulinTime().isEmpty())
        return QStringLiteral("corrupted");
    try {
        // Always 24-hour: the cell is narrow and the time only tells when the dose went in.
        QString given = formatTime(fromDateTimeText(entry.getInsulinTime()), "%H:%M");
        return QStringLiteral("%1 @ %2").arg(doses, given);
    } catch (const InvalidDateText&) {
        return QStringLiteral("corrupted");
    }
}

void setGlucose(LogRowCells& cells, const Preference& preference, int value, const QString& time) {
    if (value == 0)
        return;
    cells.hasGlucose = true;
    cells.glucose = value;
    cells.glucoseClass = classifyGlucose(value, preference.getGlucoseRange(time));
    cells.cells[LogColumn::Glucose].text = formatGlucose(value, preference.getGlucoseSampleCode());
}

void fillDay(LogbookContext& context, const SampleDateAbs& day, LogRowCells& cells) {
    Preference& preference = context.preference();
    auto& c = cells.cells;
    c[LogColumn::DateTime].text = dayDateText(day);
    if (day.getNewSiteBol())
        c[LogColumn::Site].icon = LogIcon::SiteChange;
    c[LogColumn::Ketone].icon = ketoneIcon(day.getMaxKeytoneCode());
    if (day.getDayTypeId() == 0)
        c[LogColumn::DayType].icon = LogIcon::DaySick;
    else if (day.getDayTypeId() == 2)
        c[LogColumn::DayType].icon = LogIcon::DayActive;
    // A day's average has no time of day: the patient's own range applies.
    setGlucose(cells, preference, day.getAvgGlucoseCnt(), QString());
    c[LogColumn::Carbs].text = countText(day.getTtlCarbCnt());
    c[LogColumn::Ratio].text = carbRatioText(day.getTtlCarbCnt(), day.getTtlInsulinAmt());
    if (day.getTtlInsulinAmt() != 0)
        c[LogColumn::Medication].text =
            QString::asprintf("%2.2f units", day.getTtlInsulinAmt() / 100.0);
    c[LogColumn::Notes].text = noteText(context.database(), day.getNotePk());
}

void fillEntry(LogbookContext& context, const SampleAbs& entry, int filter, bool compact,
               LogRowCells& cells) {
    Preference& preference = context.preference();
    auto& c = cells.cells;
    c[LogColumn::DateTime].text = entryTimeText(context, entry, filter, compact);
    if (entry.getNewSiteBol())
        c[LogColumn::Site].icon = LogIcon::SiteChange;
    if (entry.getDeliveryCode() != preference.getDeliveryCode())
        c[LogColumn::Delivery].icon = LogIcon::Delivery;
    c[LogColumn::Ketone].icon = ketoneIcon(entry.getKeytoneCode());
    setGlucose(cells, preference, entry.getGlucoseCnt(), entry.getSampleTime());
    c[LogColumn::Carbs].text = countText(entry.getCarbCnt());
    // The ratio is that of the meal dose; a correction covers glucose, not carbohydrates.
    int insulin = dosageInsulinHundredths(entry.getMedicationDosage(), context.medicationLookup());
    c[LogColumn::Ratio].text = carbRatioText(entry.getCarbCnt(), insulin);
    c[LogColumn::Medication].text = doseText(entry);
    c[LogColumn::Notes].text = noteText(context.database(), entry.getNotePk());
}

} // namespace

const LogColumnLayout& logColumnLayout(int column, bool compact) {
    const auto& columns = compact ? kCompactColumns : kMainColumns;
    return columns.at(static_cast<std::size_t>(column));
}

QString logIconPath(LogIcon icon) {
    switch (icon) {
    case LogIcon::None:
        return {};
    case LogIcon::Ketone1:
        return QStringLiteral(":/icons/ketone1.png");
    case LogIcon::Ketone2:
        return QStringLiteral(":/icons/ketone2.png");
    case LogIcon::Ketone3:
        return QStringLiteral(":/icons/ketone3.png");
    case LogIcon::Ketone4:
        return QStringLiteral(":/icons/ketone4.png");
    case LogIcon::DaySick:
        return QStringLiteral(":/icons/daySick.png");
    case LogIcon::DayActive:
        return QStringLiteral(":/icons/dayActive.png");
    case LogIcon::SiteChange:
        return QStringLiteral(":/icons/siteChange.png");
    case LogIcon::Delivery:
        return QStringLiteral(":/icons/delivery.png");
    }
    return {};
}

QString carbRatioText(int carbs, int insulinHundredths) {
    // Insulin in tenths of a unit against carbohydrates times ten: grams per unit.
    float units = static_cast<float>(insulinHundredths) / 10.0f;
    if (carbs <= 0 || units <= 0.0f)
        return {};
    float ratio = static_cast<float>(carbs) * 10.0f / units;
    return QString::asprintf("%2.1f:u", static_cast<double>(ratio));
}

LogRowCells computeLogCells(LogbookContext& context, const LogRow& row, int filter, bool compact) {
    LogRowCells cells;
    Database& db = context.database();
    if (row.tag == 'D') {
        auto day = SampleDateTable::getByPk(db, row.pk);
        if (!day)
            return cells;
        cells.valid = true;
        cells.day = true;
        cells.emphasized = !compact && filter != LogFilter::DailySummary;
        fillDay(context, *day, cells);
        return cells;
    }
    auto entry = SampleTable::getByPk(db, row.pk);
    if (!entry)
        return cells;
    cells.valid = true;
    fillEntry(context, *entry, filter, compact, cells);
    return cells;
}
