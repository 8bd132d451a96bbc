#include "storage/CgmReadingTable.h"

#include "storage/Database.h"
#include "storage/SyncState.h"
#include "ui/Prompts.h"

#include <sqlite3.h>

bool CgmReadingTable::createTable(Database& db) {
    // A new database replaces every table, this one with the others.
    db.exec("drop table CGM_READING"); // usually there is none to drop
    if (db.exec(kCreate) && db.exec(kIndex))
        return true;
    db.prompts().error(QStringLiteral("Create Table CGM Reading"), db.errorText());
    return false;
}

bool CgmReadingTable::ensureTable(Database& db) {
    if (db.tableExists(QString::fromLatin1(kTable)))
        return db.exec(kIndex);
    return createTable(db);
}

std::optional<int> CgmReadingTable::insertNew(Database& db,
                                              const std::vector<CgmReading>& readings) {
    if (readings.empty())
        return 0;
    // One compiled statement with bound values: a 90-day export holds some 26,000 readings,
    // and compiling a statement for each would take most of the import's time.
    auto insert = db.query("insert or ignore into CGM_READING (fk, sync_state, reading_time, "
                           "glucose_cnt, range_flag, source) values (0, ?1, ?2, ?3, ?4, ?5)");
    if (!insert)
        return std::nullopt;
    sqlite3_stmt* statement = insert->statement();
    sqlite3* connection = db.handle();
    int stored = 0;
    for (const CgmReading& reading : readings) {
        const QByteArray time = reading.time.toUtf8();
        const QByteArray source = reading.source.toUtf8();
        sqlite3_bind_int(statement, 1, SyncState::Added);
        sqlite3_bind_text(statement, 2, time.constData(), static_cast<int>(time.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 3, reading.glucose);
        sqlite3_bind_int(statement, 4, reading.rangeFlag);
        sqlite3_bind_text(statement, 5, source.constData(), static_cast<int>(source.size()),
                          SQLITE_TRANSIENT);
        const int code = sqlite3_step(statement);
        if (code != SQLITE_DONE) {
            db.setLastError(code);
            db.setErrorText(QString::fromUtf8(sqlite3_errmsg(connection)));
            return std::nullopt;
        }
        stored += sqlite3_changes(connection);
        sqlite3_reset(statement);
    }
    return stored;
}

std::vector<CgmReading> CgmReadingTable::between(Database& db, const QString& first,
                                                 const QString& last) {
    std::vector<CgmReading> readings;
    // A file only ever opened read-only since this table came has none: it holds no readings.
    if (!db.tableExists(QString::fromLatin1(kTable)))
        return readings;
    auto query = db.query("select reading_time, glucose_cnt, range_flag, source from CGM_READING "
                          "where reading_time >= %Q and reading_time <= %Q and sync_state <> %d "
                          "order by reading_time, source",
                          first, last, SyncState::Deleted);
    if (!query)
        return readings;
    while (query->step()) {
        CgmReading reading;
        reading.time = QString::fromUtf8(query->value(0));
        reading.glucose = static_cast<int>(query->intValue(1));
        reading.rangeFlag = static_cast<int>(query->intValue(2));
        reading.source = QString::fromUtf8(query->value(3));
        readings.push_back(std::move(reading));
    }
    return readings;
}

int CgmReadingTable::countBefore(Database& db, const QString& date) {
    if (!db.tableExists(QString::fromLatin1(kTable)))
        return 0;
    return db.count("select count(*) from CGM_READING where reading_time < %Q", date);
}

int CgmReadingTable::removeBefore(Database& db, const QString& date) {
    if (!db.tableExists(QString::fromLatin1(kTable)))
        return 0;
    if (!db.exec("delete from CGM_READING where reading_time < %Q", date))
        return -1;
    return sqlite3_changes(db.handle());
}

int CgmReadingTable::count(Database& db) {
    if (!db.tableExists(QString::fromLatin1(kTable)))
        return 0;
    return db.count("select count(*) from CGM_READING");
}
