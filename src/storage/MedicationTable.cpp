#include "storage/MedicationTable.h"

#include "storage/Clock.h"
#include "storage/Conversions.h"

#include <QDateTime>

#include <array>
#include <map>

void MedicationAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setIsInsulinBol(true);
    setActiveBol(true);
    setIncludeInTotalsBol(true);
    setMedCode(QString());
    setMedDesc(QString());
    setOpenDate(QString());
    setExpireDayCnt(0);
    setIncrementByCode(0);
    setRxOrderId(QString());
}

std::int64_t MedicationAbs::getDaysLeft(const Clock& clock) const {
    const std::time_t opened = fromDateText(getOpenDate());
    // Counted on the calendar, not in 86400-second steps: across a clock change a day has
    // 23 or 25 hours and is still one day.
    const QDate expires = QDateTime::fromSecsSinceEpoch(opened).date().addDays(getExpireDayCnt());
    const QDateTime now = QDateTime::fromSecsSinceEpoch(clock.now());
    const std::int64_t days = now.date().daysTo(expires);
    // A day already begun is not a whole day left; past expiry the count is truncated toward
    // zero, so the day of expiry itself counts as 0.
    if (days > 0 && now.time() != QTime(0, 0))
        return days - 1;
    return days;
}

Medication::Medication() {
    clear();
}

std::span<const Column<MedicationAbs>> MedicationTraits::columns() {
    using A = MedicationAbs;
    static const std::array<Column<A>, 12> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        boolColumn("IS_INSULIN_BOL", &A::getIsInsulinBol, &A::setIsInsulinBol),
        boolColumn("ACTIVE_BOL", &A::getActiveBol, &A::setActiveBol),
        boolColumn("INCLUDE_IN_TOTALS_BOL", &A::getIncludeInTotalsBol, &A::setIncludeInTotalsBol),
        textColumn("MED_CODE", &A::getMedCode, &A::setMedCode),
        textColumn("MED_DESC", &A::getMedDesc, &A::setMedDesc),
        textColumn("OPEN_DATE", &A::getOpenDate, &A::setOpenDate),
        intColumn("EXPIRE_DAY_CNT", &A::getExpireDayCnt, &A::setExpireDayCnt),
        intColumn("INCREMENT_BY_CODE", &A::getIncrementByCode, &A::setIncrementByCode),
        textColumn("RX_ORDER_ID", &A::getRxOrderId, &A::setRxOrderId),
    };
    return cols;
}

bool MedicationTable::removeByPk(Database& db, int pk) {
    auto record = getByPk(db, pk);
    return record ? remove(db, *record) : true;
}

std::unique_ptr<Query> MedicationTable::selectAllByDesc(Database& db) {
    int descColumn = -1;
    for (int i = 0; i < getColumnCount(); ++i)
        if (getColumnName(i) == QLatin1String("MED_DESC"))
            descColumn = i;
    return selectAll(db, descColumn, true);
}

MedicationTable::RecordPtr MedicationTable::getByCode(Database& db, const QString& code) {
    return first(db, "Select * from MEDICATION where MED_CODE  = %Q", code);
}

MedicationTable::RecordPtr MedicationTable::getOrCreateByDesc(Database& db, const QString& name) {
    if (auto found = first(db, "Select * from MEDICATION where MED_DESC = %Q", name))
        return found;

    QString code;
    for (const char* letter = kCodeLetters; *letter; ++letter) {
        const QString candidate = QString(QLatin1Char(*letter));
        if (!getByCode(db, candidate)) {
            code = candidate;
            break;
        }
    }
    // Every letter already names a medication. Giving the new one a taken code would make
    // dosage lists ambiguous, so nothing is created and the caller learns of it.
    if (code.isEmpty())
        return nullptr;

    auto created = std::make_unique<Medication>();
    created->setMedDesc(name);
    created->setMedCode(code);
    created->setIsInsulinBol(true);
    created->setIncludeInTotalsBol(true);
    if (!save(db, *created, SyncState::Added))
        return nullptr;
    return created;
}

MedicationLookup makeMedicationLookup(const std::vector<std::unique_ptr<Medication>>& medications) {
    std::map<QChar, MedicationFlags> byCode;
    for (const auto& medication : medications) {
        if (!medication || medication->getMedCode().isEmpty())
            continue;
        // emplace keeps the first medication of a code.
        byCode.emplace(
            medication->getMedCode().at(0),
            MedicationFlags{medication->getIsInsulinBol(), medication->getIncludeInTotalsBol()});
    }
    return [byCode = std::move(byCode)](QChar code) -> std::optional<MedicationFlags> {
        auto it = byCode.find(code);
        if (it == byCode.end())
            return std::nullopt;
        return it->second;
    };
}
