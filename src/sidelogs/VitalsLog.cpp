#include "sidelogs/VitalsLog.h"

#include "logbook/NoteText.h"
#include "storage/BloodPressureTable.h"
#include "storage/Conversions.h"
#include "storage/NoteTable.h"

namespace {

constexpr int kTimeColumn = 3; // BP_TIME

// A note's lines side by side, as a list cell holds one line.
QString oneLine(const QString& stored) {
    QString text = NoteText::forEditing(stored);
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

std::vector<SideLogRow> VitalsLog::rows(Database& db) {
    // The notes are read while the listing is open: reads only, so nothing is written
    // under the open query.
    return rowsPutOnTop<BloodPressureTable>(
        db, kTimeColumn, true, [&db](const BloodPressureAbs& record) { return cells(db, record); });
}

QStringList VitalsLog::cells(Database& db, const BloodPressureAbs& record) {
    QString taken;
    try {
        taken = formatTime(fromDateTimeText(record.getBpTime()), "%b %d, %Y %I:%M %p");
    } catch (const InvalidDateText&) {
        // A damaged time stays listed without its text, so that it can be mended or removed.
    }
    QString notes;
    if (record.getNotePk() != 0)
        if (auto note = NoteTable::getByPk(db, record.getNotePk()))
            notes = oneLine(note->getText());
    return {taken,
            QString::asprintf("%d", record.getSystolic()),
            QString::asprintf("%d", record.getDiastolic()),
            record.getPulse() == 0 ? QString() : QString::asprintf("%d", record.getPulse()),
            record.getWeight(),
            notes};
}

bool VitalsLog::remove(Database& db, Prompts& prompts, int pk) {
    // A key whose row has gone meanwhile removes nothing and is no failure to report.
    auto record = BloodPressureTable::getByPk(db, pk);
    return record && reportWrite(db, prompts, BloodPressureTable::remove(db, *record));
}
