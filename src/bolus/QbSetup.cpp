#include "bolus/QbSetup.h"

#include "storage/MedicationTable.h"

namespace {

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

std::optional<QbItemRefusal> QbTargetKind::checkValues(const QbTargetAbs& target) {
    if (target.getGlucoseLo() < 1)
        return QbItemRefusal{"Please Enter a minimum glucose", QbItemFocus::FirstValue};
    // A range of a single value is allowed.
    if (target.getGlucoseHi() < target.getGlucoseLo())
        return QbItemRefusal{"Maximum glucose must be greater then minimum glucose",
                             QbItemFocus::SecondValue};
    return std::nullopt;
}

QStringList QbTargetKind::valueCells(const QbTargetAbs& target) {
    // The midpoint is the target the calculator aims for, so the patient sees it here.
    const int aim = (target.getGlucoseLo() + target.getGlucoseHi()) / 2;
    return {QString::asprintf("%d", target.getGlucoseLo()),
            QString::asprintf("%d", target.getGlucoseHi()), QString::asprintf("%d", aim)};
}

std::optional<QbItemRefusal> QbRatioKind::checkValues(const QbRatioAbs& ratio) {
    if (ratio.getCarbCnt() < 1)
        return QbItemRefusal{"A carb count greater then 0 is required", QbItemFocus::Unchanged};
    return std::nullopt;
}

QStringList QbRatioKind::valueCells(const QbRatioAbs& ratio) {
    return {QString::asprintf("%d", ratio.getCarbCnt())};
}

std::optional<QbItemRefusal> QbSensitivityKind::checkValues(const QbSensitivityAbs& sensitivity) {
    if (sensitivity.getGlucoseCnt() < 1)
        return QbItemRefusal{"Glucose Amount must be greater then 0", QbItemFocus::Unchanged};
    return std::nullopt;
}

QStringList QbSensitivityKind::valueCells(const QbSensitivityAbs& sensitivity) {
    return {QString::asprintf("%d", sensitivity.getGlucoseCnt())};
}

std::optional<long long> parseItemNumber(const QString& text) {
    if (text.trimmed().isEmpty())
        return 0;
    return wholeNumber(text);
}

IntRange qbValueRange(const QbValueField& field, int glucoseUnit) {
    return field.kind == QbValueKind::Glucose ? FieldLimits::bolusGlucose(glucoseUnit)
                                              : FieldLimits::kCarbRatio;
}

QString qbValueRangeText(const QbValueField& field, int glucoseUnit) {
    const QString name = latin1(field.name);
    if (field.kind == QbValueKind::Glucose)
        return glucoseRangeText(name, qbValueRange(field, glucoseUnit), glucoseUnit, true);
    return fieldRangeText(name, qbValueRange(field, glucoseUnit), QStringLiteral("grams"));
}

QbGeneralSetup::QbGeneralSetup(LogbookContext& context) : m_context(context) {
    Database& db = m_context.database();
    auto stored = readQbPreference();
    m_bolusCode = stored->getMedCode();
    m_minutes = stored->getMedMinutes();

    auto query = MedicationTable::selectAllByDesc(db);
    if (!query)
        return;
    while (auto medication = MedicationTable::getNext(db, *query)) {
        if (!medication->getActiveBol())
            continue;
        const QString& code = medication->getMedCode();
        m_choices.push_back(
            {medication->getMedDesc(), code, code.isEmpty() ? QChar() : code.front()});
    }
}

int QbGeneralSetup::shownChoice() const {
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i].medCode == m_bolusCode)
            return static_cast<int>(i);
    return m_choices.empty() ? -1 : 0;
}

bool QbGeneralSetup::shownIsStored() const {
    const int shown = shownChoice();
    return shown >= 0 && m_choices[static_cast<size_t>(shown)].medCode == m_bolusCode;
}

void QbGeneralSetup::choose(int index) {
    if (index < 0 || index >= static_cast<int>(m_choices.size()))
        return;
    const QChar code = m_choices[static_cast<size_t>(index)].code;
    m_bolusCode = code.isNull() ? QString() : QString(code);
}

bool QbGeneralSetup::takeMinutes(const QString& text) {
    bool ok = false;
    const int minutes = text.trimmed().toInt(&ok);
    if (!ok || minutes < kMinMinutes || minutes > kMaxMinutes) {
        m_context.prompts().information(latin1(QbSetupText::kCaption),
                                        latin1(QbSetupText::kMinutesRange));
        return false;
    }
    m_minutes = minutes;
    return true;
}

bool QbGeneralSetup::schedulesComplete(Database& db) {
    return QbRatioTable::getCount(db) >= 1 && QbTargetTable::getCount(db) >= 1 &&
           QbSensitivityTable::getCount(db) >= 1;
}

bool QbGeneralSetup::apply() {
    const bool switchedOn = schedulesComplete(m_context.database());
    auto qbPreference = readQbPreference();
    qbPreference->setUseBol(switchedOn);
    // Stored even when it stays off: a refused apply leaves the calculator switched off.
    const bool saved = saveQbPreference(*qbPreference);
    if (!switchedOn) {
        m_context.prompts().information(latin1(QbSetupText::kCaption),
                                        latin1(QbSetupText::kNotSwitchedOn));
        return false;
    }
    return saved;
}

bool QbGeneralSetup::storeInsulin() {
    auto qbPreference = readQbPreference();
    qbPreference->setMedCode(m_bolusCode);
    qbPreference->setMedMinutes(m_minutes);
    const bool saved = saveQbPreference(*qbPreference);
    // The logbook colours glucose values by the targets it holds; the apply may have just
    // switched them on or off, and rows may have come and gone.
    m_context.preference().loadTargetPeriods(m_context.database());
    return saved;
}

std::unique_ptr<QbPreference> QbGeneralSetup::readQbPreference() {
    if (auto stored = QbPreferenceTable::getByPk(m_context.database(), QbPreferenceTable::kPk))
        return stored;
    return std::make_unique<QbPreference>();
}

bool QbGeneralSetup::saveQbPreference(QbPreferenceAbs& qbPreference) {
    Database& db = m_context.database();
    if (QbPreferenceTable::save(db, qbPreference))
        return true;
    m_context.prompts().error(latin1(QbSetupText::kDatabaseCaption), db.errorText());
    return false;
}
