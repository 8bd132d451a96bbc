#include "storage/PreferenceTable.h"

#include "storage/Conversions.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbTargetTable.h"

#include <array>

void PreferenceAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setPatientName(QString());
    setDoctorName(QString());
    setDoctorPhone(QString());
    setDoctorFax(QString());
    setBirthDate(QString());
    setDxDate(QString());
    setRetainHhDayCnt(0);
    setRetainPcDayCnt(0);
    setMilitaryTimeBol(true);
    setAskDeleteBol(true);
    setBpSystolicNormal(0);
    setBpSystolicHi(0);
    setBpSystolicModerate(0);
    setBpDiastolicNormal(0);
    setBpDiastolicModerate(0);
    setBpDiastolicHi(0);
    setGlucoseSampleCode(0);
    setDeliveryCode(0);
    setGlucoseLo(0);
    setGlucoseExtLo(0);
    setGlucoseHi(0);
    setGlucoseExtHi(0);
}

Preference::Preference() {
    PreferenceAbs::clear();
    setDefaults();
    m_periods.clear();
}

void Preference::setDefaults() {
    setPatientName(QString());
    setDoctorName(QStringLiteral("Dr."));
    // The phone defaults are input masks shown to the patient.
    setDoctorPhone(QStringLiteral("(###)###-####"));
    setDoctorFax(QStringLiteral("(###)###-####"));
    setBirthDate(QString());
    setDxDate(QString());
    setGlucoseExtLo(65);
    setGlucoseLo(80);
    setGlucoseHi(150);
    setGlucoseExtHi(220);
    setRetainHhDayCnt(28);
    setRetainPcDayCnt(168);
    setMilitaryTimeBol(true);
    setAskDeleteBol(true);
    setBpSystolicNormal(119);
    setBpSystolicHi(140);
    setBpSystolicModerate(120);
    setBpDiastolicNormal(79);
    setBpDiastolicModerate(80);
    setBpDiastolicHi(90);
    setDeliveryCode(1);
    setGlucoseSampleCode(0);
}

int Preference::loadTargetPeriods(Database& db) {
    m_periods.clear();
    auto qbPreference = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk);
    if (!qbPreference || !qbPreference->getUseBol())
        return 0;
    auto query = QbTargetTable::selectAll(db, QbTargetTable::kTimeColumn, true);
    if (!query)
        return 0;
    // Only the set-up sheet writes targets and it is meant for a handful a day; rows past
    // the tenth are left out of the classification rather than growing the record.
    while (targetPeriodCount() < kMaxTargetPeriods) {
        auto target = QbTargetTable::getNext(db, *query);
        if (!target)
            break;
        TargetPeriod period;
        period.time = cutToChars(target->getTargetTime(), TargetPeriod::kTimeWidth);
        period.extLo = target->getGlucoseLoExt();
        period.lo = target->getGlucoseLo();
        period.hi = target->getGlucoseHi();
        period.extHi = target->getGlucoseHiExt();
        m_periods.push_back(period);
    }
    return targetPeriodCount();
}

GlucoseRange Preference::getGlucoseRange(const QString& time) const {
    if (time.isEmpty() || m_periods.empty())
        return {getGlucoseExtLo(), getGlucoseLo(), getGlucoseHi(), getGlucoseExtHi()};

    // Targets start at "HH:MM"; a timestamp and the "HHMM" of a slot are brought to that
    // form so that plain text comparison orders them.
    QString key = time.size() > 5 ? time.mid(8, 5) : time;
    if (!key.contains(u':'))
        key = (key.left(2) + u':' + key.mid(2)).left(5);

    // Earlier than the first target: the last one of the day still runs from the evening.
    const TargetPeriod* found = &m_periods.back();
    for (const TargetPeriod& period : m_periods) {
        int order = QString::compare(period.time, key);
        if (order > 0)
            continue;
        found = &period;
        if (order == 0)
            break;
    }
    return {found->extLo, found->lo, found->hi, found->extHi};
}

int Preference::toMgDl(int value) const {
    if (getGlucoseSampleCode() == 0)
        return value;
    return mmolTenthsToMgDl(value);
}

std::span<const Column<PreferenceAbs>> PreferenceTraits::columns() {
    using A = PreferenceAbs;
    static const std::array<Column<A>, 25> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("PATIENT_NAME", &A::getPatientName, &A::setPatientName),
        textColumn("DOCTOR_NAME", &A::getDoctorName, &A::setDoctorName),
        textColumn("DOCTOR_PHONE", &A::getDoctorPhone, &A::setDoctorPhone),
        textColumn("DOCTOR_FAX", &A::getDoctorFax, &A::setDoctorFax),
        textColumn("BIRTH_DATE", &A::getBirthDate, &A::setBirthDate),
        textColumn("DX_DATE", &A::getDxDate, &A::setDxDate),
        intColumn("RETAIN_HH_DAY_CNT", &A::getRetainHhDayCnt, &A::setRetainHhDayCnt),
        intColumn("RETAIN_PC_DAY_CNT", &A::getRetainPcDayCnt, &A::setRetainPcDayCnt),
        boolColumn("MILITARY_TIME_BOL", &A::getMilitaryTimeBol, &A::setMilitaryTimeBol),
        boolColumn("ASK_DELETE_BOL", &A::getAskDeleteBol, &A::setAskDeleteBol),
        intColumn("BP_SYSTOLIC_NORMAL", &A::getBpSystolicNormal, &A::setBpSystolicNormal),
        intColumn("BP_SYSTOLIC_HI", &A::getBpSystolicHi, &A::setBpSystolicHi),
        intColumn("BP_SYSTOLIC_MODERATE", &A::getBpSystolicModerate, &A::setBpSystolicModerate),
        intColumn("BP_DIASTOLIC_NORMAL", &A::getBpDiastolicNormal, &A::setBpDiastolicNormal),
        intColumn("BP_DIASTOLIC_MODERATE", &A::getBpDiastolicModerate, &A::setBpDiastolicModerate),
        intColumn("BP_DIASTOLIC_HI", &A::getBpDiastolicHi, &A::setBpDiastolicHi),
        intColumn("GLUCOSE_SAMPLE_CODE", &A::getGlucoseSampleCode, &A::setGlucoseSampleCode),
        intColumn("DELIVERY_CODE", &A::getDeliveryCode, &A::setDeliveryCode),
        intColumn("GLUCOSE_LO", &A::getGlucoseLo, &A::setGlucoseLo),
        intColumn("GLUCOSE_EXT_LO", &A::getGlucoseExtLo, &A::setGlucoseExtLo),
        intColumn("GLUCOSE_HI", &A::getGlucoseHi, &A::setGlucoseHi),
        intColumn("GLUCOSE_EXT_HI", &A::getGlucoseExtHi, &A::setGlucoseExtHi),
    };
    return cols;
}

PreferenceTable::RecordPtr PreferenceTable::load(Database& db) {
    if (auto preference = getByPk(db, kPk))
        return preference;
    auto preference = std::make_unique<Preference>();
    save(db, *preference); // in an empty table the new row is PK 1
    return preference;
}
