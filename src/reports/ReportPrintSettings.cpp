#include "reports/ReportPrintSettings.h"

#include "app/SettingsTree.h"

namespace {

const char* const kNotesValue = "PatientNotes";

// The settings-tree names of the inclusions, with the field each one fills.
struct Inclusion {
    const char* valueName;
    bool ReportPrintSettings::*field;
};

constexpr Inclusion kInclusions[] = {
    {"IncludeDocSummary", &ReportPrintSettings::includeDocSummary},
    {"IncludeGlucoseStats", &ReportPrintSettings::includeGlucoseStats},
    {"IncludeDaySummary", &ReportPrintSettings::includeDaySummary},
    {"IncludeLogDetail", &ReportPrintSettings::includeLogDetail},
    {"IncludeBpLog", &ReportPrintSettings::includeBpLog},
    {"IncludePumpStatus", &ReportPrintSettings::includePumpStatus},
    {"IncludeFoodLog", &ReportPrintSettings::includeFoodLog},
    {"IncludeWorksheet", &ReportPrintSettings::includeWorksheet},
};

} // namespace

ReportPrintSettings ReportPrintSettings::createdAt(std::time_t now) {
    ReportPrintSettings settings;
    settings.periodEnd = now;
    settings.worksheetStart = now;
    return settings;
}

bool ReportPrintSettings::anySelected() const {
    for (const Inclusion& inclusion : kInclusions)
        if (this->*inclusion.field)
            return true;
    return false;
}

void ReportPrintSettings::loadChoices(const SettingsTree& tree, const QString& patient) {
    for (const Inclusion& inclusion : kInclusions)
        this->*inclusion.field = tree.getUserBool(patient, QLatin1String(inclusion.valueName));
    const int weeks = tree.getUserInt(patient, QStringLiteral("LogWeekCnt"));
    logWeeks = weeks != 0 ? weeks : 6;
    const int sheets = tree.getUserInt(patient, QStringLiteral("WorksheetWeekCnt"));
    worksheetWeeks = sheets != 0 ? sheets : 1;
}

QString ReportPrintSettings::storedNotes(const SettingsTree& tree, const QString& patient) {
    return tree.getUserString(patient, QLatin1String(kNotesValue));
}

bool ReportPrintSettings::save(SettingsTree& tree, const QString& patient) const {
    bool ok = true;
    for (const Inclusion& inclusion : kInclusions)
        ok =
            tree.setUserBool(patient, QLatin1String(inclusion.valueName), this->*inclusion.field) &&
            ok;
    ok = tree.setUserInt(patient, QStringLiteral("LogWeekCnt"), logWeeks) && ok;
    ok = tree.setUserInt(patient, QStringLiteral("WorksheetWeekCnt"), worksheetWeeks) && ok;
    ok = tree.setUserString(patient, QLatin1String(kNotesValue), patientNotes) && ok;
    return ok;
}
