#include "app/DefaultData.h"

#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Indexes.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/ProtocolTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"

#include <QRegularExpression>

namespace DefaultData {

namespace {

// The first meter's serial number is a placeholder wider than the column's usual 11
// characters; it is stored whole so the patient sees that nothing was entered yet.
class FirstMeter : public Meter {
public:
    FirstMeter() { m_serialNo = QString::fromLatin1(kNotOnFile); }
    const QString& getSerialNo() const override { return m_serialNo; }

private:
    QString m_serialNo;
};

bool createTables(Database& db) {
    using Create = bool (*)(Database&);
    const Create tables[] = {
        &A1cTable::createTable,           &BasilRateTable::createTable,
        &BloodPressureTable::createTable, &CarbsTable::createTable,
        &MedicationTable::createTable,    &MeterTable::createTable,
        &NoteTable::createTable,          &PreferenceTable::createTable,
        &ProtocolTable::createTable,      &QbTargetTable::createTable,
        &QbRatioTable::createTable,       &QbSensitivityTable::createTable,
        &QbPreferenceTable::createTable,  &SampleDateTable::createTable,
        &SampleTable::createTable,        &SampleTypeTable::createTable,
        &CgmReadingTable::createTable,
    };
    for (Create create : tables) {
        if (!create(db))
            return false;
    }
    return true;
}

bool saveSlots(Database& db) {
    const QStringList list = tokens(QString::fromLatin1(kSlots));
    for (qsizetype i = 0; i + 1 < list.size(); i += 2) {
        SampleType slot;
        slot.setSampleTime(list[i]);
        slot.setDesc(list[i + 1]);
        if (!SampleTypeTable::save(db, slot))
            return false;
    }
    return true;
}

bool saveFoods(Database& db) {
    const QStringList list = tokens(QString::fromLatin1(kFoods));
    for (qsizetype i = 0; i + 1 < list.size(); i += 2) {
        Carbs food;
        food.setCarbName(list[i]);
        food.setCarbCnt(list[i + 1].trimmed().toInt());
        if (!CarbsTable::save(db, food))
            return false;
    }
    return true;
}

bool saveMedications(Database& db, const QString& today) {
    const QStringList list = tokens(QString::fromLatin1(kMedications));
    const auto flag = [](const QString& token) { return token.startsWith(u'y'); };
    for (qsizetype i = 0; i + 4 < list.size(); i += 5) {
        Medication medication;
        medication.setMedCode(list[i]);
        medication.setMedDesc(list[i + 1]);
        medication.setIsInsulinBol(flag(list[i + 2]));
        medication.setActiveBol(flag(list[i + 3]));
        medication.setIncludeInTotalsBol(flag(list[i + 4]));
        medication.setOpenDate(today);
        medication.setExpireDayCnt(kMedicationExpireDays);
        medication.setRxOrderId(QString());
        if (!MedicationTable::save(db, medication))
            return false;
    }
    return true;
}

} // namespace

QStringList tokens(const QString& list) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    return list.split(separators, Qt::SkipEmptyParts);
}

bool initNewDatabase(Database& db, Preference& preference, const Clock& clock) {
    const QString today = toDateText(clock.now());
    if (!createTables(db))
        return false;

    QbPreference qbPreference;
    if (!QbPreferenceTable::save(db, qbPreference))
        return false;

    preference.setDeliveryCode(kDeliveryInjection);
    if (!PreferenceTable::save(db, preference))
        return false;

    if (!saveSlots(db))
        return false;

    FirstMeter meter;
    meter.setDesc(QString::fromLatin1(kMeterDesc));
    meter.setMfg(QString::fromLatin1(kUnknown));
    meter.setModel(QString::fromLatin1(kUnknown));
    meter.setSeriviceDate(today);
    if (!MeterTable::save(db, meter))
        return false;

    Protocol protocol;
    protocol.setEffectiveDate(today);
    protocol.setText(QString::fromLatin1(kNotOnFile));
    if (!ProtocolTable::save(db, protocol))
        return false;

    if (!saveFoods(db) || !saveMedications(db, today))
        return false;
    return ensureIndexes(db);
}

} // namespace DefaultData
