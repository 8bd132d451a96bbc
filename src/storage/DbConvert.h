#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Database;
class Progress;
class Query;
class Transaction;

// Brings a database file written by an older version of the program to the current table
// layout, in place, recognising each old layout by the table's stored creation statement.
//
// Every table is rewritten as one unit of work (Transaction): its old rows are read into
// memory, the table is dropped and created anew, and the rows are written back under their
// own keys and synchronisation states. The unit is committed only when every row is back,
// so a failure part way leaves the old table and all its rows exactly as they were. The
// quick-bolus step is one unit as a whole as well: it is done once only (its default
// QB_PREFERENCE row marks it done), so that row must not outlive a failed rewrite.
//
// Messages are shown through the database's prompts under kCaption, once the failed unit
// has been rolled back; table creation and statement compilation show their own.
class DbConvert {
public:
    static constexpr const char* kCaption = "Database Conversion";

    DbConvert(Database& db, Progress& progress);

    // Runs, in order, the conversions the file needs and stops at the first failure. A file
    // already in the current layout passes through unchanged (no table dropped, no progress,
    // no vacuum). After a conversion that re-created tables, the secondary indexes are
    // created again.
    bool convert();

    // Whether convert() would find nothing to do: the file is in the current layout. Only
    // reads, so it also serves a connection that may not write.
    bool isCurrent();

    // Called inside the unit of work right after a table has been created anew and before
    // any of its rows is written back; tests use it to make a write fail part way.
    void setTableCreatedHook(std::function<void(const QString& table)> hook) {
        m_tableCreated = std::move(hook);
    }

    // Whether the last convert() re-created any table / ran "vacuum".
    bool rewroteTables() const { return m_rewrote; }
    bool vacuumed() const { return m_vacuumed; }

private:
    template <class Table> using Rows = std::vector<std::unique_ptr<typename Table::Record>>;
    template <class Table> using ItemOf = QString (*)(const typename Table::Abs&);
    template <class Table> using Adjust = void (*)(typename Table::Abs&);

    bool runSteps();
    bool convertOldSideTables();
    bool convertBloodPressureSync();
    bool convertMedication();
    bool convertOldPreference();
    bool convertTo40();
    bool convertTo401();

    bool createMissingTables();
    bool rewritePreference();

    // Reads every row of a table (deleted ones included) and writes it back into the table
    // created anew, with progress; `adjust` sets the values of the new columns.
    template <class Table>
    bool rewriteAll(const char* table, const char* readSql, const char* readTopic,
                    const char* writeTopic, const char* readFailure, Adjust<Table> adjust,
                    ItemOf<Table> itemOf);
    template <class Table> bool readAll(const char* readSql, int expected, Rows<Table>& rows);
    // Drops (when a statement is given) and creates the table, then writes the rows back;
    // the caller holds the unit of work. Progress steps only when `itemOf` is given.
    template <class Table>
    bool recreateAndWrite(const char* table, const char* dropSql, Rows<Table>& rows,
                          ItemOf<Table> itemOf);

    std::optional<QString> createStatement(const char* schemaSql);
    void beginProgress(const QString& topic, int steps);
    bool commit(Transaction& unit, const char* table);
    bool fail(const QString& text);
    bool writeFailed(const char* table);

    Database& m_db;
    Progress& m_progress;
    std::function<void(const QString&)> m_tableCreated;
    QString m_pendingMessage;
    bool m_progressShown = false;
    bool m_rewrote = false;
    bool m_vacuumed = false;
};
