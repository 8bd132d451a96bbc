#include "reports/ReportSelection.h"

#include "app/SettingsTree.h"
#include "storage/Conversions.h"
#include "storage/QbPreferenceTable.h"

ReportSelection::ReportSelection(SettingsTree& tree, const QString& patient)
    : m_tree(tree), m_patient(patient) {}

void ReportSelection::open(const ReportPrintSettings& copy) {
    m_values = copy;
    m_values.loadChoices(m_tree, m_patient);
    if (m_values.patientNotes.isEmpty())
        m_values.patientNotes = ReportPrintSettings::storedNotes(m_tree, m_patient)
                                    .left(ReportPrintSettings::kMaxNotesChars);
}

bool ReportSelection::commit() const {
    return m_values.save(m_tree, m_patient);
}

bool ReportSelection::periodEnabled(const ReportPrintSettings& values) {
    return values.includeLogDetail || values.includeDocSummary || values.includeGlucoseStats ||
           values.includeDaySummary || values.includeBpLog || values.includePumpStatus;
}

bool ReportSelection::worksheetEnabled(const ReportPrintSettings& values) {
    return values.includeWorksheet;
}

bool ReportSelection::pumpStatusAvailable(Database& db) {
    auto general = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk);
    return general && general->getUseBol();
}

int ReportSelection::maximum(WeekField field) {
    return field == WeekField::LogWeeks ? ReportPrintSettings::kMaxLogWeeks
                                        : ReportPrintSettings::kMaxWorksheetWeeks;
}

ReportSelection::WeekCount ReportSelection::parseWeeks(WeekField field, const QString& text) {
    // The usual wording of a dialog's integer fields.
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    if (!isNumber)
        return {0, QStringLiteral("Please enter an integer.")};
    if (value < minimum(field) || value > maximum(field))
        return {value, QStringLiteral("Please enter an integer between %1 and %2.")
                           .arg(minimum(field))
                           .arg(maximum(field))};
    return {value, QString()};
}

int ReportSelection::radioIndex(ReportStyle style) {
    const int index = static_cast<int>(style) - static_cast<int>(ReportStyle::color);
    return index >= 0 && index <= 2 ? index : 0;
}

ReportStyle ReportSelection::styleAtRadio(int index) {
    return index >= 0 && index <= 2
               ? static_cast<ReportStyle>(index + static_cast<int>(ReportStyle::color))
               : ReportStyle::color;
}

std::time_t ReportSelection::withDate(std::time_t moment, int year, int month, int day) {
    const QString date = QStringLiteral("%1%2%3")
                             .arg(year, 4, 10, QLatin1Char('0'))
                             .arg(month, 2, 10, QLatin1Char('0'))
                             .arg(day, 2, 10, QLatin1Char('0'));
    try {
        return fromDateTimeText(date + toDateTimeText(moment).mid(8));
    } catch (const InvalidDateText&) {
        // The time of day does not exist on that day (the hour the clock springs forward):
        // the day's start stands in.
        try {
            return fromDateText(date);
        } catch (const InvalidDateText&) {
            return moment;
        }
    }
}
