#include "storage/DbConvert.h"

#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Database.h"
#include "storage/Indexes.h"
#include "storage/MedicationTable.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QByteArray>
#include <cstring>

namespace {

constexpr const char* kBloodPressureSchema =
    "select * from sqlite_master where tbl_name='BLOOD_PRESSURE'";
constexpr const char* kMedicationSchema = "select * from sqlite_master where tbl_name='MEDICATION'";
constexpr const char* kPreferenceSchema = "select * from sqlite_master where tbl_name='PREFERENCE'";

constexpr const char* kOldBloodPressureRows =
    "select BP_TIME,DIASTOLIC,SYSTOLIC,PULSE,NOTE_PK from BLOOD_PRESSURE";
constexpr const char* kOldMedicationRows =
    "select ACTIVE_BOL,INCLUDE_IN_TOTALS_BOL,MED_CODE,MED_DESC,OPEN_DATE, EXPIRE_DAY_CNT, "
    "INCREMENT_BY_CODE, RX_ORDER_ID from MEDICATION";
constexpr const char* kOldGlucoseBounds =
    "select normal_glucose_ext_lo, normal_glucose_lo, normal_glucose_hi, normal_glucose_ext_hi "
    "from preference";
constexpr const char* kSlotTimeFix =
    "update sample_type set sample_time = '1130' where sample_time='11:3'";
constexpr const char* kSlotTimesToFix = "select count(*) from sample_type where sample_time='11:3'";

// BASIL_RATE and the quick-bolus tables came with 4.0; A1C and CARBS are not created by
// the opening of a file, so an old file gets them here.
struct MissingTable {
    const char* name;
    bool (*create)(Database&);
};
constexpr MissingTable kMissingTables[] = {
    {"BASIL_RATE", &BasilRateTable::createTable},
    {"QB_PREFERENCE", &QbPreferenceTable::createTable},
    {"QB_RATIO", &QbRatioTable::createTable},
    {"QB_SENSITIVITY", &QbSensitivityTable::createTable},
    {"QB_TARGET", &QbTargetTable::createTable},
    {"A1C", &A1cTable::createTable},
    {"CARBS", &CarbsTable::createTable},
};

// The fixed reads above leave the keys out; these read the same tables whole, in the same
// order, to pair every old row with its PK (and FK and state, where the layout had them).
constexpr const char* kWholeBloodPressureRows = "select * from BLOOD_PRESSURE";
constexpr const char* kWholeMedicationRows = "select * from MEDICATION";
constexpr const char* kWholePreferenceRows = "select * from PREFERENCE";

// Every row, deleted ones included: a row in state 30 is still waiting for the handheld.
constexpr const char* kAllDays = "select * from SAMPLE_DATE order by PK";
constexpr const char* kAllEntries = "select * from SAMPLE order by PK";
constexpr const char* kAllVitals = "select * from BLOOD_PRESSURE order by PK";

QString textOf(const Query& query, int column) {
    const char* text = query.value(column);
    return text ? QString::fromUtf8(text) : QString();
}

int intOf(const Query& query, int column) {
    return static_cast<int>(query.intValue(column));
}

int columnNamed(const Query& query, const char* name) {
    for (int i = 0; i < query.columnCount(); ++i) {
        if (qstricmp(query.columnName(i), name) == 0)
            return i;
    }
    return -1;
}

bool sameText(const char* a, const char* b) {
    if (!a || !b)
        return a == b;
    return std::strcmp(a, b) == 0;
}

// Whether every column of the fixed read holds the same value in the whole row.
bool sameRow(const Query& fixed, const Query& whole) {
    for (int i = 0; i < fixed.columnCount(); ++i) {
        const int j = columnNamed(whole, fixed.columnName(i));
        if (j < 0 || !sameText(fixed.value(i), whole.value(j)))
            return false;
    }
    return true;
}

bool finished(Database& db, Query& query) {
    query.finalize();
    return db.lastError() == 0;
}

// Steps a fixed read of old columns side by side with the whole rows of the same table. Both
// scan the table in the same order; should a row's fixed columns ever disagree with its whole
// row, the read fails rather than pair values with another row's key.
template <class Take>
bool readOldRows(Database& db, const char* fixedSql, const char* wholeSql, Take take) {
    auto fixed = db.query(fixedSql);
    if (!fixed)
        return false;
    auto whole = db.query(wholeSql);
    if (!whole)
        return false;
    for (;;) {
        const bool more = fixed->step();
        if (more != whole->step())
            return false;
        if (!more)
            break;
        if (!sameRow(*fixed, *whole) || !take(*fixed, *whole))
            return false;
    }
    return finished(db, *fixed) && finished(db, *whole);
}

// PK, FK and SYNC_STATE of an old row; a layout without them gives 0, 0 and "added".
template <class Abs> void takeKeys(const Query& whole, Abs& record) {
    int column = columnNamed(whole, "PK");
    record.setPk(column < 0 ? 0 : intOf(whole, column));
    column = columnNamed(whole, "FK");
    record.setFk(column < 0 ? 0 : intOf(whole, column));
    column = columnNamed(whole, "SYNC_STATE");
    record.setSyncState(column < 0 ? SyncState::Added : intOf(whole, column));
}

} // namespace

DbConvert::DbConvert(Database& db, Progress& progress) : m_db(db), m_progress(progress) {}

bool DbConvert::convert() {
    m_pendingMessage.clear();
    m_progressShown = false;
    m_rewrote = false;
    m_vacuumed = false;

    if (!m_db.isOpen()) {
        m_db.prompts().error(QString::fromLatin1(kCaption), QStringLiteral("Db is null"));
        return false;
    }
    const bool ok = runSteps();
    if (m_progressShown)
        m_progress.finish();
    // Shown only now, when every unit of work has been rolled back: the file is not held
    // locked while the message waits for the patient.
    if (!m_pendingMessage.isEmpty())
        m_db.prompts().error(QString::fromLatin1(kCaption), m_pendingMessage);
    // Dropping a table dropped its indexes. They only speed reads up, so a failure here does
    // not undo a conversion that is already stored.
    if (ok && m_rewrote)
        ensureIndexes(m_db);
    return ok;
}

// The preference record must be in its current layout before the logbook tables are
// rewritten, hence this order.
bool DbConvert::runSteps() {
    return convertOldSideTables() && convertOldPreference() && convertTo40() && convertTo401();
}

// Each test is the one its step makes before it changes anything; keep the two in step.
bool DbConvert::isCurrent() {
    if (!m_db.isOpen())
        return false;
    const auto bloodPressure = createStatement(kBloodPressureSchema);
    if (!bloodPressure || !bloodPressure->contains(QLatin1String("SYNC_STATE")) ||
        !bloodPressure->contains(QLatin1String("WEIGHT")))
        return false;
    const auto medication = createStatement(kMedicationSchema);
    if (medication && !medication->contains(QLatin1String("IS_INSULIN_BOL")))
        return false;
    const auto preference = createStatement(kPreferenceSchema);
    if (preference && !preference->contains(QLatin1String("GLUCOSE_SAMPLE_CODE")))
        return false;
    for (const MissingTable& table : kMissingTables) {
        if (!m_db.tableExists(QString::fromLatin1(table.name)))
            return false;
    }
    // Without its settings row the quick-bolus step still has to run.
    if (QbPreferenceTable::getCount(m_db) <= 0)
        return false;
    return !m_db.tableExists(QStringLiteral("SAMPLE_TYPE")) || m_db.count(kSlotTimesToFix) == 0;
}

bool DbConvert::convertOldSideTables() {
    const auto bloodPressure = createStatement(kBloodPressureSchema);
    if (!bloodPressure)
        return fail(QStringLiteral("Failed .schema BLOOD_PRESSURE"));
    if (!bloodPressure->contains(QLatin1String("SYNC_STATE")) && !convertBloodPressureSync())
        return false;
    // A file without the table has nothing to convert; creating missing tables is the
    // opening's business.
    const auto medication = createStatement(kMedicationSchema);
    if (medication && !medication->contains(QLatin1String("IS_INSULIN_BOL")))
        return convertMedication();
    return true;
}

bool DbConvert::convertBloodPressureSync() {
    Transaction unit(m_db);
    if (!unit.isActive())
        return writeFailed("BLOOD_PRESSURE");
    Rows<BloodPressureTable> rows;
    const bool read = readOldRows(m_db, kOldBloodPressureRows, kWholeBloodPressureRows,
                                  [&rows](const Query& old, const Query& whole) {
                                      auto vital = std::make_unique<BloodPressure>();
                                      takeKeys(whole, *vital);
                                      vital->setBpTime(textOf(old, 0));
                                      vital->setDiastolic(intOf(old, 1));
                                      vital->setSystolic(intOf(old, 2));
                                      vital->setPulse(intOf(old, 3));
                                      vital->setNotePk(intOf(old, 4));
                                      rows.push_back(std::move(vital));
                                      return true;
                                  });
    if (!read)
        return fail(QStringLiteral("BLOOD_PRESSURE could not be read for conversion"));
    if (!recreateAndWrite<BloodPressureTable>("BLOOD_PRESSURE", "drop table blood_pressure", rows,
                                              nullptr))
        return false;
    return commit(unit, "BLOOD_PRESSURE");
}

bool DbConvert::convertMedication() {
    Transaction unit(m_db);
    if (!unit.isActive())
        return writeFailed("MEDICATION");
    Rows<MedicationTable> rows;
    const bool read = readOldRows(m_db, kOldMedicationRows, kWholeMedicationRows,
                                  [&rows](const Query& old, const Query& whole) {
                                      auto medication = std::make_unique<Medication>();
                                      takeKeys(whole, *medication);
                                      medication->setActiveBol(boolFromText(old.value(0)));
                                      medication->setIncludeInTotalsBol(boolFromText(old.value(1)));
                                      // Older versions only knew insulins.
                                      medication->setIsInsulinBol(true);
                                      medication->setMedCode(textOf(old, 2));
                                      medication->setMedDesc(textOf(old, 3));
                                      medication->setOpenDate(textOf(old, 4));
                                      medication->setExpireDayCnt(intOf(old, 5));
                                      medication->setIncrementByCode(intOf(old, 6));
                                      medication->setRxOrderId(textOf(old, 7));
                                      rows.push_back(std::move(medication));
                                      return true;
                                  });
    if (!read)
        return fail(QStringLiteral("MEDICATION could not be read for conversion"));
    if (!recreateAndWrite<MedicationTable>("MEDICATION", "drop table medication", rows, nullptr))
        return false;
    return commit(unit, "MEDICATION");
}

bool DbConvert::convertOldPreference() {
    const auto preference = createStatement(kPreferenceSchema);
    if (preference && !preference->contains(QLatin1String("GLUCOSE_SAMPLE_CODE")))
        return rewritePreference();
    return true;
}

// The old glucose bounds become the current range, and insulin is taken as injected.
bool DbConvert::rewritePreference() {
    Transaction unit(m_db);
    if (!unit.isActive())
        return writeFailed("PREFERENCE");
    Rows<PreferenceTable> rows;
    const bool read = readOldRows(m_db, kOldGlucoseBounds, kWholePreferenceRows,
                                  [&rows](const Query& bounds, const Query& whole) {
                                      auto preference =
                                          PreferenceTable::fromRow(whole, ColumnNames::AnyCase);
                                      preference->setGlucoseExtLo(intOf(bounds, 0));
                                      preference->setGlucoseLo(intOf(bounds, 1));
                                      preference->setGlucoseHi(intOf(bounds, 2));
                                      preference->setGlucoseExtHi(intOf(bounds, 3));
                                      preference->setDeliveryCode(1);
                                      rows.push_back(std::move(preference));
                                      return true;
                                  });
    if (!read || rows.empty())
        return fail(QStringLiteral("PREFERENCE Read returned 0 for conversion"));
    bool found = false;
    for (const auto& row : rows)
        found = found || row->getPk() == PreferenceTable::kPk;
    if (!found)
        return fail(QStringLiteral("Not Pref found"));
    if (!recreateAndWrite<PreferenceTable>("PREFERENCE", nullptr, rows, nullptr))
        return false;
    return commit(unit, "PREFERENCE");
}

bool DbConvert::convertTo40() {
    Transaction unit(m_db);
    if (!unit.isActive())
        return writeFailed("QB_PREFERENCE");
    if (!createMissingTables())
        return false;
    const int settings = QbPreferenceTable::getCount(m_db);
    if (settings < 0)
        return false; // the statement's failure has been shown
    if (settings > 0)
        return commit(unit, "QB_PREFERENCE");

    QbPreference defaults;
    defaults.setPk(QbPreferenceTable::kPk);
    if (!QbPreferenceTable::save(m_db, defaults, SyncState::Added))
        return writeFailed("QB_PREFERENCE");

    const bool rewritten =
        rewriteAll<SampleDateTable>(
            "SAMPLE_DATE", kAllDays, "Converting Day Entries to 4.0 step 1",
            "Converting Day Entries to 4.0 step 2", "SampleDate Read returned 0 for conversion",
            [](SampleDateAbs& day) { day.setNewSiteBol(false); },
            [](const SampleDateAbs& day) { return day.getSampleDate(); }) &&
        rewriteAll<SampleTable>(
            "SAMPLE", kAllEntries, "Converting Log Entries to 4.0 step 1",
            "Converting Log Entries to 4.0 step 2", "Sample Read returned 0 for conversion",
            [](SampleAbs& entry) {
                entry.setDeliveryCode(1);
                entry.setNewSiteBol(false);
            },
            [](const SampleAbs& entry) { return entry.getSampleTime(); });
    if (!rewritten)
        return false;

    const auto preference = createStatement(kPreferenceSchema);
    if (!preference)
        return fail(QStringLiteral("Convert4_0_0:Could'nt Read PREFERENCE schema"));
    if (preference->contains(QLatin1String("NORMAL_GLUCOSE_EXT_LO")) && !rewritePreference())
        return false;
    if (!commit(unit, "QB_PREFERENCE"))
        return false;

    // Only outside every unit of work; the rewrite is stored either way, so a vacuum that
    // cannot run costs nothing but file size.
    m_vacuumed = m_db.exec("vacuum");
    return true;
}

bool DbConvert::createMissingTables() {
    for (const MissingTable& table : kMissingTables) {
        if (!m_db.tableExists(QString::fromLatin1(table.name)) && !table.create(m_db))
            return false;
    }
    return true;
}

bool DbConvert::convertTo401() {
    // A file without slots has none to fix.
    if (!m_db.exec(kSlotTimeFix) && m_db.tableExists(QStringLiteral("SAMPLE_TYPE")))
        return writeFailed("SAMPLE_TYPE");
    const auto bloodPressure = createStatement(kBloodPressureSchema);
    if (!bloodPressure)
        return fail(QStringLiteral("Failed .schema BLOOD_PRESSURE"));
    if (bloodPressure->contains(QLatin1String("WEIGHT")))
        return true;
    return rewriteAll<BloodPressureTable>(
        "BLOOD_PRESSURE", kAllVitals, "Converting Vital Entries to 4.0.1 step 1",
        "Converting Vital Entries to 4.0.1 step 2", "Vitals Read returned 0 for conversion",
        [](BloodPressureAbs& vital) { vital.setWeight(QString()); },
        [](const BloodPressureAbs& vital) { return vital.getBpTime(); });
}

template <class Table>
bool DbConvert::rewriteAll(const char* table, const char* readSql, const char* readTopic,
                           const char* writeTopic, const char* readFailure, Adjust<Table> adjust,
                           ItemOf<Table> itemOf) {
    Transaction unit(m_db);
    if (!unit.isActive())
        return writeFailed(table);
    const int count = Table::getCount(m_db);
    beginProgress(QString::fromLatin1(readTopic), count < 0 ? 0 : count);
    Rows<Table> rows;
    if (count < 0 || !readAll<Table>(readSql, count, rows))
        return fail(QString::fromLatin1(readFailure));
    beginProgress(QString::fromLatin1(writeTopic), static_cast<int>(rows.size()));
    for (auto& row : rows)
        adjust(*row);
    if (!recreateAndWrite<Table>(table, nullptr, rows, itemOf))
        return false;
    return commit(unit, table);
}

// A read that ends early, or with more rows than counted, is a failed read: writing back
// what was read would lose the rest.
template <class Table>
bool DbConvert::readAll(const char* readSql, int expected, Rows<Table>& rows) {
    auto query = m_db.query(readSql);
    if (!query)
        return false;
    while (query->step()) {
        // Older versions did not always spell a column as the current table does.
        rows.push_back(Table::fromRow(*query, ColumnNames::AnyCase));
        m_progress.step(QStringLiteral("Read"), static_cast<int>(rows.size()));
    }
    return finished(m_db, *query) && static_cast<int>(rows.size()) == expected;
}

template <class Table>
bool DbConvert::recreateAndWrite(const char* table, const char* dropSql, Rows<Table>& rows,
                                 ItemOf<Table> itemOf) {
    if (dropSql && !m_db.exec(dropSql))
        return writeFailed(table);
    if (!Table::createTable(m_db))
        return false; // createTable has shown why
    m_rewrote = true;
    if (m_tableCreated)
        m_tableCreated(QString::fromLatin1(table));
    int written = 0;
    for (auto& row : rows) {
        // The record carries its PK, so the row is inserted under that very key, and it
        // keeps the state the handheld knows it by.
        if (!Table::save(m_db, *row, row->getSyncState()))
            return writeFailed(table);
        ++written;
        if (itemOf)
            m_progress.step(itemOf(*row), written);
    }
    // Two old rows sharing a key would have been merged into one by the saving rule.
    const int stored = m_db.count("select count(*) from %s", table);
    if (stored != written)
        return fail(QStringLiteral("Could not convert %1: %2 rows read, %3 stored")
                        .arg(QString::fromLatin1(table))
                        .arg(written)
                        .arg(stored));
    return true;
}

// The creation statement of a table, upper-cased: of the table's row in sqlite_master, the
// first column whose text contains CREATE. Rows of the table's indexes and triggers are
// passed over.
std::optional<QString> DbConvert::createStatement(const char* schemaSql) {
    auto query = m_db.query(schemaSql);
    if (!query)
        return std::nullopt;
    while (query->step()) {
        const int type = columnNamed(*query, "type");
        if (type >= 0 && qstricmp(query->value(type), "table") != 0)
            continue;
        for (int i = 0; i < query->columnCount(); ++i) {
            const QString text = textOf(*query, i).toUpper();
            if (text.contains(QLatin1String("CREATE")))
                return text;
        }
    }
    return std::nullopt;
}

void DbConvert::beginProgress(const QString& topic, int steps) {
    m_progressShown = true;
    m_progress.begin(topic, steps);
}

bool DbConvert::commit(Transaction& unit, const char* table) {
    return unit.commit() || writeFailed(table);
}

bool DbConvert::fail(const QString& text) {
    m_pendingMessage = text;
    return false;
}

bool DbConvert::writeFailed(const char* table) {
    return fail(QStringLiteral("Could not convert %1: %2")
                    .arg(QString::fromLatin1(table), m_db.errorText()));
}
