#pragma once

#include "storage/Database.h"
#include "storage/SyncState.h"
#include "ui/Prompts.h"

#include <QByteArray>
#include <QString>
#include <cstring>
#include <memory>
#include <span>
#include <string>

// The record-and-table pattern, written once. A table supplies a traits type:
//
//   using Abs = ...;  using Record = ...;                 the abstract and concrete record
//   static std::span<const Column<Abs>> columns();        every column, in table order
//   kDrop, kCreate, kCreateCaption                        table creation
//   kCount, kSelectAll, kByPk, kDelete, kMarkDeleted      nullptr when the table has none
//   kInsert, kInsertWithPk, kUpdate                       kInsertWithPk nullptr: a PK always
//                                                         updates, without looking the row up
//   kSyncColumn                                           index of SYNC_STATE (3 in CARBS)
//
// and RecordTable<Traits> gives the common operations with the shared saving rule,
// removing rule and reading of rows by column name. An operation whose statement the
// traits leave out does not exist for that table: calling it does not compile.

enum class ColumnKind { Integer, Text, Boolean };

template <class Abs> struct Column {
    const char* name;
    ColumnKind kind;
    int (Abs::*getInt)() const = nullptr;
    void (Abs::*setInt)(int) = nullptr;
    const QString& (Abs::*getText)() const = nullptr;
    void (Abs::*setText)(const QString&) = nullptr;
    bool (Abs::*getBool)() const = nullptr;
    void (Abs::*setBool)(bool) = nullptr;
};

template <class Abs>
constexpr Column<Abs> intColumn(const char* name, int (Abs::*get)() const, void (Abs::*set)(int)) {
    return {name, ColumnKind::Integer, get, set};
}
template <class Abs>
constexpr Column<Abs> textColumn(const char* name, const QString& (Abs::*get)() const,
                                 void (Abs::*set)(const QString&)) {
    return {name, ColumnKind::Text, nullptr, nullptr, get, set};
}
template <class Abs>
constexpr Column<Abs> boolColumn(const char* name, bool (Abs::*get)() const,
                                 void (Abs::*set)(bool)) {
    return {name, ColumnKind::Boolean, nullptr, nullptr, nullptr, nullptr, get, set};
}

// Booleans are stored as "T" / "F" and read as true when the text begins with "T".
inline const char* boolText(bool value) {
    return value ? "T" : "F";
}
inline bool boolFromText(const char* text) {
    return text && text[0] == 'T';
}

// How a row's column names are matched with the table's: the tables' own reads match them
// exactly; the conversion of older files, whose tables may spell a name in other letter
// case, matches them regardless of case.
enum class ColumnNames { Exact, AnyCase };

template <class Traits> class RecordTable {
public:
    using TableTraits = Traits;
    using Abs = typename Traits::Abs;
    using Record = typename Traits::Record;
    using RecordPtr = std::unique_ptr<Record>;

    static bool createTable(Database& db) {
        db.exec(Traits::kDrop); // usually there is no table to drop
        if (db.exec(Traits::kCreate))
            return true;
        db.prompts().error(QString::fromUtf8(Traits::kCreateCaption), db.errorText());
        return false;
    }

    static int getColumnCount() { return static_cast<int>(Traits::columns().size()); }

    static QString getColumnName(int index) {
        auto cols = Traits::columns();
        if (index < 0 || index >= static_cast<int>(cols.size()))
            return QStringLiteral("?");
        return QString::fromLatin1(cols[index].name);
    }

    // The position of a column by its name as the table spells it; -1 when there is none.
    static int getColumnIndex(const char* name) {
        auto cols = Traits::columns();
        for (size_t i = 0; i < cols.size(); ++i)
            if (std::strcmp(cols[i].name, name) == 0)
                return static_cast<int>(i);
        return -1;
    }

    static int getCount(Database& db) requires(Traits::kCount != nullptr) {
        return db.count(Traits::kCount);
    }

    // Live rows (state 30 excluded), ordered by the column at `orderColumn` when it is 0 or
    // more; a position past the last column names "?", which the engine refuses.
    static std::unique_ptr<Query> selectAll(Database& db, int orderColumn,
                                            bool ascending) requires(Traits::kSelectAll !=
                                                                     nullptr) {
        std::string sql = Traits::kSelectAll;
        if (orderColumn >= 0) {
            sql += " order by ";
            sql += getColumnName(orderColumn).toStdString();
            sql += ascending ? " asc" : " desc";
        }
        return db.query(sql.c_str());
    }

    static RecordPtr getByPk(Database& db, int pk) { return first(db, Traits::kByPk, long(pk)); }

    // Builds the next record from an open query, or nothing at the end.
    static RecordPtr getNext(Database&, Query& query) {
        if (!query.step())
            return nullptr;
        return fromRow(query);
    }

    // The first row of a statement as a record, or nothing.
    template <class... A> static RecordPtr first(Database& db, const char* format, const A&... a) {
        auto query = db.query(format, a...);
        if (!query || !query->step())
            return nullptr;
        return fromRow(*query);
    }

    static bool deleteRow(Database& db, int pk) requires(Traits::kDelete != nullptr) {
        return db.exec(Traits::kDelete, long(pk));
    }

    static bool markDeleted(Database& db, int pk) requires(Traits::kMarkDeleted != nullptr) {
        return db.exec(Traits::kMarkDeleted, long(SyncState::Deleted), long(pk));
    }

    // The saving rule: state 99 is kept (FK dropped); a record without PK is inserted and
    // takes the new row id; a PK updates its row, or is inserted under that very PK when
    // no row has it. The record's own sync_state member is left as it was.
    static bool save(Database& db, Abs& record, int state) {
        if (record.getSyncState() == SyncState::Foreign || state == SyncState::Foreign) {
            state = SyncState::Foreign;
            record.setFk(0);
        }
        if (record.getPk() < 1) {
            if (!db.execArgs(Traits::kInsert, arguments(record, state, Statement::Insert)))
                return false;
            record.setPk(db.lastInsertRowId());
            return true;
        }
        if constexpr (Traits::kInsertWithPk != nullptr) {
            if (!getByPk(db, record.getPk()))
                return db.execArgs(Traits::kInsertWithPk,
                                   arguments(record, state, Statement::InsertWithPk));
        }
        return db.execArgs(Traits::kUpdate, arguments(record, state, Statement::Update));
    }

    static bool save(Database& db, Abs& record) {
        return save(db, record, record.getPk() < 1 ? SyncState::Added : SyncState::Changed);
    }

    // The removing rule for the row itself (whatever it owns is removed by the caller
    // first): a row the handheld knows is only marked deleted, so the deletion reaches it.
    static bool removeRow(Database& db,
                          const Abs& record) requires(Traits::kDelete != nullptr &&
                                                      Traits::kMarkDeleted != nullptr) {
        int state = record.getSyncState();
        if (record.getFk() != 0 && state != SyncState::Deleted && state != SyncState::Foreign)
            return markDeleted(db, record.getPk());
        return deleteRow(db, record.getPk());
    }

    static RecordPtr fromRow(const Query& query, ColumnNames match = ColumnNames::Exact) {
        auto record = std::make_unique<Record>();
        auto cols = Traits::columns();
        for (int i = 0; i < query.columnCount(); ++i) {
            const char* name = query.columnName(i);
            for (const Column<Abs>& col : cols) {
                const bool same = match == ColumnNames::Exact ? std::strcmp(col.name, name) == 0
                                                              : qstricmp(col.name, name) == 0;
                if (!same)
                    continue;
                const char* text = query.value(i);
                switch (col.kind) {
                case ColumnKind::Integer:
                    (record.get()->*col.setInt)(static_cast<int>(query.intValue(i)));
                    break;
                case ColumnKind::Text:
                    (record.get()->*col.setText)(text ? QString::fromUtf8(text) : QString());
                    break;
                case ColumnKind::Boolean:
                    (record.get()->*col.setBool)(boolFromText(text));
                    break;
                }
                break;
            }
        }
        return record;
    }

private:
    enum class Statement { Insert, InsertWithPk, Update };

    // The values of a save statement: every column in table order (PK only for an insert
    // with PK), SYNC_STATE replaced by the state being written, and for an update the PK
    // of the WHERE clause last.
    static SqlArgs arguments(const Abs& record, int state, Statement statement) {
        SqlArgs args;
        auto cols = Traits::columns();
        args.reserve(cols.size() + 1);
        for (size_t i = 0; i < cols.size(); ++i) {
            const Column<Abs>& col = cols[i];
            if (i == 0 && statement != Statement::InsertWithPk)
                continue;
            if (static_cast<int>(i) == Traits::kSyncColumn) {
                args.emplace_back(long(state));
                continue;
            }
            switch (col.kind) {
            case ColumnKind::Integer:
                args.emplace_back(long((record.*col.getInt)()));
                break;
            case ColumnKind::Text:
                // Always a text, never NULL: an unset value is stored as ''.
                args.emplace_back((record.*col.getText)().toStdString());
                break;
            case ColumnKind::Boolean:
                args.emplace_back(boolText((record.*col.getBool)()));
                break;
            }
        }
        if (statement == Statement::Update)
            args.emplace_back(record.getPk());
        return args;
    }
};
