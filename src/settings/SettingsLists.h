#pragma once

#include "storage/BasilRateTable.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/ProtocolTable.h"
#include "ui/Prompts.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class Clock;

// The rules of the Preferences sheet's list pages (medications, meters, protocols, basal
// rates) and their item dialogs: what each list shows and in which order, which code letters
// a medication may take, what a basal row must pass, and how changes are stored. The pages
// in widgets/ only move values between these and their controls.

namespace SettingsListText {
inline constexpr const char* kDatabaseCaption = "Database";
inline constexpr const char* kInvalidDosage = "Invalid Dosage";
inline constexpr const char* kTimeUsed = "This time is already used";
inline constexpr const char* kBasalExplanation =
    "Enter your basil rates from your pump to be included on the Physcian Summary Report.";
// The dose steps of a medication, at the position INCREMENT_BY_CODE gives.
inline constexpr std::array<const char*, 4> kIncrements = {"0.10 Units", "1/4 Units", "1/2 Units",
                                                           "1 Unit"};
} // namespace SettingsListText

// ---- What the lists show ---------------------------------------------------------------

// The live rows of each list, in the order listed: medications and meters by name, protocols
// newest first, basal rates by start time.
std::vector<MedicationTable::RecordPtr> listedMedications(Database& db);
std::vector<MeterTable::RecordPtr> listedMeters(Database& db);
std::vector<ProtocolTable::RecordPtr> listedProtocols(Database& db);
std::vector<BasilRateTable::RecordPtr> listedBasalRates(Database& db);

// Name, "A" (active), "I" (in totals), code, days left of the opened vial (active ones only),
// prescription number.
QStringList medicationCells(const MedicationAbs& medication, const Clock& clock);
// Name, the unused marker column, model, maker.
QStringList meterCells(const MeterAbs& meter);
QStringList protocolCells(const ProtocolAbs& protocol);
QStringList basalCells(const BasilRateAbs& rate, const Clock& clock, bool military);

// ---- Medications -----------------------------------------------------------------------

// The code letters the medication with that key may take: A to Z without the codes of every
// other live medication, so that no two medications share a code through the dialog.
QStringList freeCodeLetters(Database& db, int pk);

enum class MedicationFlag { Active, IncludeInTotals };
// Turns the flag of the stored medication over and stores it; false (and the patient told
// when the store failed) when nothing was stored.
bool toggleMedicationFlag(Database& db, Prompts& prompts, int pk, MedicationFlag flag);

// ---- Protocols -------------------------------------------------------------------------

// A new protocol takes effect today.
Protocol newProtocol(const Clock& clock);
// One protocol always remains: removing needs at least two in the list.
inline bool protocolsRemovable(int listedCount) {
    return listedCount >= 2;
}

// ---- Basal rates -----------------------------------------------------------------------

enum class BasalField { Rate, Time };
struct BasalRefusal {
    const char* message;
    BasalField field; // where the focus goes
};

// The basal item dialog's OK: the rate must be a valid dosage, then rate and start time
// ("HH:MM") go into the record, and the time must not start another row (deleted rows
// included). Nothing when all passed; otherwise the patient has been told.
std::optional<BasalRefusal> takeBasalDetail(Database& db, Prompts& prompts, BasilRateAbs& rate,
                                            const QString& amount, const QString& start);

// ---- Storing ---------------------------------------------------------------------------

// A failed statement is shown under "Database"; the caller lists what the table holds.
bool reportStoreResult(Database& db, Prompts& prompts, bool stored);

template <class Table>
bool storeListed(Database& db, Prompts& prompts, typename Table::Abs& record) {
    return reportStoreResult(db, prompts, Table::save(db, record));
}

// Each by its table's removing rule. A key without a row removes nothing: the list is
// simply read again.
bool removeMedication(Database& db, Prompts& prompts, int pk);
bool removeMeter(Database& db, Prompts& prompts, int pk);
bool removeProtocol(Database& db, Prompts& prompts, int pk);
bool removeBasalRate(Database& db, Prompts& prompts, int pk);
