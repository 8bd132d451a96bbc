#pragma once

#include "storage/Database.h"
#include "ui/Prompts.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

// What the three side logs (A1c results, foods, vital records) share: how their lists are
// read, how a refused field is told, and how a failed write is reported.

// One listed row: the key of its record and the texts of its cells.
struct SideLogRow {
    int pk;
    QStringList cells;
    bool operator==(const SideLogRow&) const = default;
};

// The live rows of a table read in one order, each put at the top of the list as it comes,
// so that the list stands in the opposite order of the read. A table that cannot be read
// gives an empty list.
template <class Table, class Cells>
std::vector<SideLogRow> rowsPutOnTop(Database& db, int orderColumn, bool ascending, Cells cells) {
    std::vector<SideLogRow> listed;
    if (auto query = Table::selectAll(db, orderColumn, ascending))
        while (auto record = Table::getNext(db, *query))
            listed.push_back({record->getPk(), cells(*record)});
    std::reverse(listed.begin(), listed.end());
    return listed;
}

// Why an item cannot be stored: the message, and the field that takes the focus.
template <class Field> struct FieldRefusal {
    QString text;
    Field field;
};

// Tells the patient about a refusal; the answer is the field to correct, or nothing when
// there was no refusal.
template <class Field>
std::optional<Field> tellRefusal(Prompts& prompts, const std::optional<FieldRefusal<Field>>& no) {
    if (!no)
        return std::nullopt;
    prompts.show(QString::fromLatin1(kProgramCaption), no->text, PromptButtons::Ok,
                 PromptIcon::Warning);
    return no->field;
}

// A write that failed is shown with the engine's reason under "Database"; the answer is
// whether it succeeded.
inline bool reportWrite(Database& db, Prompts& prompts, bool written) {
    if (!written)
        prompts.error(QStringLiteral("Database"), db.errorText());
    return written;
}
