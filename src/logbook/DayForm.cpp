#include "logbook/DayForm.h"

#include "logbook/LogbookContext.h"
#include "storage/Conversions.h"
#include "storage/NoteTable.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"

#include <memory>

DayForm::DayForm(LogbookContext& context, int dayPk) : m_context(context), m_dayPk(dayPk) {}

bool DayForm::load() {
    Database& db = m_context.database();
    auto day = SampleDateTable::getByPk(db, m_dayPk);
    m_loaded = day != nullptr;
    if (!day)
        return false;
    m_sampleDate = day->getSampleDate();
    m_averageGlucose = day->getAvgGlucoseCnt();
    m_maxKetone = day->getMaxKeytoneCode();
    m_totalCarbs = day->getTtlCarbCnt();
    m_totalInsulin = day->getTtlInsulinAmt();
    m_dayType = day->getDayTypeId();
    m_noteText.clear();
    if (day->getNotePk() > 0) {
        if (auto note = NoteTable::getByPk(db, day->getNotePk()))
            m_noteText = note->getText();
    }
    return true;
}

QString DayForm::caption() const {
    try {
        return formatTime(fromDateText(m_sampleDate), "%A %B %d %Y");
    } catch (const InvalidDateText&) {
        // The dialog still opens on a day whose date was damaged, so it can be corrected.
        return m_sampleDate;
    }
}

QString DayForm::averageGlucoseText() const {
    if (!hasAverageGlucose())
        return {};
    return formatGlucose(m_averageGlucose, m_context.preference().getGlucoseSampleCode());
}

GlucoseClass DayForm::averageGlucoseClass() const {
    if (!hasAverageGlucose())
        return GlucoseClass::InRange;
    return classifyGlucose(m_averageGlucose, m_context.preference().getGlucoseRange(QString()));
}

QString DayForm::maxKetoneText() const {
    switch (m_maxKetone) {
    case 1:
        return QStringLiteral("None");
    case 2:
        return QStringLiteral("Small");
    case 3:
        return QStringLiteral("Medium");
    case 4:
        return QStringLiteral("Large");
    default:
        return QStringLiteral("N/A");
    }
}

LogIcon DayForm::maxKetoneIcon() const {
    if (m_maxKetone < 1 || m_maxKetone > 4)
        return LogIcon::None;
    return static_cast<LogIcon>(static_cast<int>(LogIcon::Ketone1) + m_maxKetone - 1);
}

QString DayForm::totalCarbsText() const {
    return QString::asprintf("%ld", long(m_totalCarbs));
}

QString DayForm::totalMedicationText() const {
    return QString::asprintf("%2.2f", m_totalInsulin / 100.0);
}

QStringList DayForm::dayTypeNames() {
    return {QStringLiteral("Sick"), QStringLiteral("Normal"), QStringLiteral("Active")};
}

LogIcon DayForm::dayTypeIcon(int dayType) {
    switch (dayType) {
    case DayType::Sick:
        return LogIcon::DaySick;
    case DayType::Active:
        return LogIcon::DayActive;
    default:
        return LogIcon::None;
    }
}

bool DayForm::apply() {
    Database& db = m_context.database();
    // Read again: entries stored from the entries page have changed the day's totals since
    // the page was filled, and those must not be overwritten with the old ones.
    auto day = SampleDateTable::getByPk(db, m_dayPk);
    if (!day)
        return false;
    day->setDayTypeId(m_dayType);
    if (m_noteText.isEmpty()) {
        if (day->getNotePk() > 0) {
            if (!NoteTable::removeByPk(db, day->getNotePk()))
                return false;
            day->setNotePk(0);
        }
    } else {
        std::unique_ptr<Note> note;
        if (day->getNotePk() > 0)
            note = NoteTable::getByPk(db, day->getNotePk());
        if (!note)
            note = std::make_unique<Note>();
        note->setNoteType(NoteType::Day);
        note->setOwnerPk(day->getPk());
        note->setText(m_noteText);
        if (!NoteTable::save(db, *note))
            return false;
        day->setNotePk(note->getPk());
    }
    return SampleDateTable::save(db, *day);
}
