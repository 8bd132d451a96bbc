#include "storage/NoteTable.h"

#include <array>

void NoteAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setNoteType(0);
    setOwnerPk(0);
    setText(QString());
}

Note::Note() {
    clear();
}

std::span<const Column<NoteAbs>> NoteTraits::columns() {
    using A = NoteAbs;
    static const std::array<Column<A>, 6> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        intColumn("NOTE_TYPE", &A::getNoteType, &A::setNoteType),
        intColumn("OWNER_PK", &A::getOwnerPk, &A::setOwnerPk),
        textColumn("TEXT", &A::getText, &A::setText),
    };
    return cols;
}

bool NoteTable::removeByPk(Database& db, int pk) {
    auto note = getByPk(db, pk);
    return note ? remove(db, *note) : true;
}

bool NoteTable::deleteOrphans(Database& db) {
    db.exec("Delete from Note where note_type = %d and pk not in ( select distinct (note_pk) "
            "from sample )",
            NoteType::LogEntry);
    db.exec("Delete from Note where note_type = %d and pk not in ( select distinct (note_pk) "
            "from sample_date )",
            NoteType::Day);
    return db.exec("Delete from Note where note_type = %d and pk not in ( select distinct "
                   "(note_pk) from blood_pressure )",
                   NoteType::Vital);
}
