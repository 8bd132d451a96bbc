#include "settings/SettingsLists.h"

#include "settings/PreferenceRules.h"

#include "storage/Clock.h"
#include "storage/Conversions.h"

namespace {

// The columns each list is ordered by, as the tables number them.
constexpr int kMedDescColumn = 7;
constexpr int kMeterDescColumn = 3;
constexpr int kEffectiveDateColumn = 4;
constexpr int kStartTimeColumn = 3;

template <class Table>
std::vector<typename Table::RecordPtr> listed(Database& db, int orderColumn, bool ascending) {
    std::vector<typename Table::RecordPtr> records;
    if (auto query = Table::selectAll(db, orderColumn, ascending))
        while (auto record = Table::getNext(db, *query))
            records.push_back(std::move(record));
    return records;
}

template <class Table> bool removeRecord(Database& db, Prompts& prompts, int pk) {
    auto record = Table::getByPk(db, pk);
    if (!record)
        return false;
    return reportStoreResult(db, prompts, Table::remove(db, *record));
}

} // namespace

std::vector<MedicationTable::RecordPtr> listedMedications(Database& db) {
    return listed<MedicationTable>(db, kMedDescColumn, true);
}

std::vector<MeterTable::RecordPtr> listedMeters(Database& db) {
    return listed<MeterTable>(db, kMeterDescColumn, true);
}

std::vector<ProtocolTable::RecordPtr> listedProtocols(Database& db) {
    return listed<ProtocolTable>(db, kEffectiveDateColumn, false);
}

std::vector<BasilRateTable::RecordPtr> listedBasalRates(Database& db) {
    return listed<BasilRateTable>(db, kStartTimeColumn, true);
}

QStringList medicationCells(const MedicationAbs& medication, const Clock& clock) {
    QString daysLeft;
    if (medication.getActiveBol()) {
        try {
            daysLeft = QString::asprintf("%ld", static_cast<long>(medication.getDaysLeft(clock)));
        } catch (const InvalidDateText&) {
            // A vial never marked as opened has no expiry to count down to.
        }
    }
    return {medication.getMedDesc(),
            medication.getActiveBol() ? QStringLiteral("*") : QString(),
            medication.getIncludeInTotalsBol() ? QStringLiteral("+") : QString(),
            medication.getMedCode(),
            daysLeft,
            medication.getRxOrderId()};
}

QStringList meterCells(const MeterAbs& meter) {
    return {meter.getDesc(), QString(), meter.getModel(), meter.getMfg()};
}

QStringList protocolCells(const ProtocolAbs& protocol) {
    try {
        return {formatTime(fromDateText(protocol.getEffectiveDate()), "%B %d, %Y")};
    } catch (const InvalidDateText&) {
        // Only a damaged row has no date; it stays listed so it can be mended or removed.
        return {QString()};
    }
}

QStringList basalCells(const BasilRateAbs& rate, const Clock& clock, bool military) {
    // The stored hour and minute are shown as they are: read through today's date, a 02:30
    // would show as 3:30 on the day the clock springs forward. A text that names no time is
    // shown as the clock reads it.
    const std::optional<QTime> stored = PickedTime(rate.getStartTime(), kBasalTimeFormat).shown();
    const QString time =
        stored ? formatTimeOfDay(stored->hour(), stored->minute(), military)
               : formatTimeOfDay(clockTimeToday(rate.getStartTime(), clock), military);
    return {time, rate.getBasilMedAmt()};
}

QStringList freeCodeLetters(Database& db, int pk) {
    QStringList letters;
    for (const char* letter = MedicationTable::kCodeLetters; *letter; ++letter)
        letters << QString(QLatin1Char(*letter));
    for (const auto& other : listedMedications(db))
        if (other->getPk() != pk)
            letters.removeAll(other->getMedCode());
    return letters;
}

bool toggleMedicationFlag(Database& db, Prompts& prompts, int pk, MedicationFlag flag) {
    auto medication = MedicationTable::getByPk(db, pk);
    if (!medication)
        return false;
    if (flag == MedicationFlag::Active)
        medication->setActiveBol(!medication->getActiveBol());
    else
        medication->setIncludeInTotalsBol(!medication->getIncludeInTotalsBol());
    return storeListed<MedicationTable>(db, prompts, *medication);
}

Protocol newProtocol(const Clock& clock) {
    Protocol protocol;
    protocol.setEffectiveDate(toDateText(clock.now()));
    return protocol;
}

std::optional<BasalRefusal> takeBasalDetail(Database& db, Prompts& prompts, BasilRateAbs& rate,
                                            const QString& amount, const QString& start) {
    std::optional<BasalRefusal> refusal;
    if (!isValidDosageAmount(amount)) {
        refusal = BasalRefusal{SettingsListText::kInvalidDosage, BasalField::Rate};
    } else {
        rate.setBasilMedAmt(amount);
        rate.setStartTime(start);
        auto holder = BasilRateTable::getByStartTime(db, rate.getStartTime());
        if (holder && holder->getPk() != rate.getPk())
            refusal = BasalRefusal{SettingsListText::kTimeUsed, BasalField::Time};
    }
    if (refusal)
        prompts.information(QString::fromLatin1(kProgramCaption),
                            QString::fromLatin1(refusal->message));
    return refusal;
}

bool reportStoreResult(Database& db, Prompts& prompts, bool stored) {
    if (!stored)
        prompts.error(QString::fromLatin1(SettingsListText::kDatabaseCaption), db.errorText());
    return stored;
}

bool removeMedication(Database& db, Prompts& prompts, int pk) {
    return reportStoreResult(db, prompts, MedicationTable::removeByPk(db, pk));
}

bool removeMeter(Database& db, Prompts& prompts, int pk) {
    return removeRecord<MeterTable>(db, prompts, pk);
}

bool removeProtocol(Database& db, Prompts& prompts, int pk) {
    return removeRecord<ProtocolTable>(db, prompts, pk);
}

bool removeBasalRate(Database& db, Prompts& prompts, int pk) {
    return removeRecord<BasilRateTable>(db, prompts, pk);
}
