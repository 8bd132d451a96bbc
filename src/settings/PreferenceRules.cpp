#include "settings/PreferenceRules.h"

#include "storage/Conversions.h"
#include "storage/FieldLimits.h"

namespace {

struct RangeFieldInfo {
    const char* name;  // as it starts a sentence
    const char* limit; // as it stands after "the"
};

constexpr RangeFieldInfo kRangeFields[kRangeFieldCount] = {
    {"The low glucose limit", "low glucose limit"},
    {"The high glucose limit", "high glucose limit"},
    {"The extreme low glucose limit", "extreme low glucose limit"},
    {"The extreme high glucose limit", "extreme high glucose limit"},
    {"The systolic normal limit", "systolic normal limit"},
    {"The systolic moderate limit", "systolic moderate limit"},
    {"The systolic high limit", "systolic high limit"},
    {"The diastolic normal limit", "diastolic normal limit"},
    {"The diastolic moderate limit", "diastolic moderate limit"},
    {"The diastolic high limit", "diastolic high limit"},
};

const RangeFieldInfo& infoOf(RangeField field) {
    return kRangeFields[static_cast<int>(field)];
}

// "The low glucose limit (200) must not be above the high glucose limit (100)."
RangeRefusal outOfOrder(RangeField field, const QString& value, RangeField other,
                        const QString& otherValue, const char* relation) {
    return {QStringLiteral("%1 (%2) must %3 the %4 (%5).")
                .arg(QString::fromLatin1(infoOf(field).name), value, QString::fromLatin1(relation),
                     QString::fromLatin1(infoOf(other).limit), otherValue),
            field};
}

} // namespace

std::optional<RangeRefusal> rangeRefusal(const RangeTexts& texts, int unit) {
    auto text = [&texts](RangeField field) { return texts[static_cast<int>(field)]; };
    auto name = [](RangeField field) { return QString::fromLatin1(infoOf(field).name); };

    const IntRange glucose = FieldLimits::glucose(unit);
    int stored[4] = {};
    for (RangeField field :
         {RangeField::Low, RangeField::High, RangeField::ExtremeLow, RangeField::ExtremeHigh}) {
        const QString value = text(field);
        if (!value.isEmpty() && !isValidGlucoseEntry(value, unit))
            return RangeRefusal{QString::fromLatin1(kInvalidGlucoseText), field};
        const int parsed = value.isEmpty() ? 0 : parseGlucoseEntry(value);
        // The extreme limits follow from the others; only the two typed are held to a range.
        const bool typed = field == RangeField::Low || field == RangeField::High;
        if (value.isEmpty() || (typed && !glucose.contains(parsed)))
            return RangeRefusal{glucoseRangeText(name(field), glucose, unit), field};
        stored[static_cast<int>(field)] = parsed;
    }
    const int low = stored[0], high = stored[1], extLow = stored[2], extHigh = stored[3];
    if (low > high)
        return outOfOrder(RangeField::Low, text(RangeField::Low), RangeField::High,
                          text(RangeField::High), "not be above");
    if (extLow > low)
        return outOfOrder(RangeField::ExtremeLow, text(RangeField::ExtremeLow), RangeField::Low,
                          text(RangeField::Low), "not be above");
    if (extHigh < high)
        return outOfOrder(RangeField::ExtremeHigh, text(RangeField::ExtremeHigh), RangeField::High,
                          text(RangeField::High), "not be below");

    const RangeField pressures[2][3] = {
        {RangeField::SystolicNormal, RangeField::SystolicModerate, RangeField::SystolicHigh},
        {RangeField::DiastolicNormal, RangeField::DiastolicModerate, RangeField::DiastolicHigh}};
    const IntRange ranges[2] = {FieldLimits::kSystolic, FieldLimits::kDiastolic};
    for (int kind = 0; kind < 2; ++kind) {
        long long previous = 0;
        for (int column = 0; column < 3; ++column) {
            const RangeField field = pressures[kind][column];
            const std::optional<long long> value = wholeNumber(text(field));
            if (!value || !ranges[kind].contains(*value))
                return RangeRefusal{
                    fieldRangeText(name(field), ranges[kind], QStringLiteral("mmHg")), field};
            if (column > 0 && *value <= previous)
                return outOfOrder(field, text(field).trimmed(), pressures[kind][column - 1],
                                  text(pressures[kind][column - 1]).trimmed(), "be above");
            previous = *value;
        }
    }
    return std::nullopt;
}

int extremeLowFor(int low) {
    return low - low * 20 / 100;
}

int extremeHighFor(int high) {
    return high + high * 20 / 100;
}

std::optional<QString> checkedGlucoseText(const QString& text, int unit) {
    if (!isValidGlucoseEntry(text, unit))
        return std::nullopt;
    // An empty field stays empty: ".0" alone would read as a value nobody typed.
    if (unit == kGlucoseUnitMmol && !text.isEmpty() && !text.contains(u'.'))
        return text + QStringLiteral(".0");
    return text;
}

std::optional<int> retentionDays(const QString& text) {
    const std::optional<long long> days = wholeNumber(text);
    if (!days || !FieldLimits::kRetainDays.contains(*days))
        return std::nullopt;
    return static_cast<int>(*days);
}

QString retentionRangeText() {
    return integerRangeText(FieldLimits::kRetainDays);
}

std::optional<PatientDateRefusal> patientDatesRefusal(const QString& birthDate,
                                                      const QString& dxDate, const QDate& today) {
    const std::optional<QDate> birth = dateOfText(birthDate);
    const std::optional<QDate> dx = dateOfText(dxDate);
    if (birth && *birth > today)
        return PatientDateRefusal{QStringLiteral("The birth date cannot lie in the future."), true};
    if (dx && *dx > today)
        return PatientDateRefusal{
            QStringLiteral("The diagnosis (Dx) date cannot lie in the future."), false};
    if (birth && dx && *dx < *birth)
        return PatientDateRefusal{
            QStringLiteral("The diagnosis (Dx) date cannot lie before the birth date."), false};
    return std::nullopt;
}

std::optional<QDate> dateOfText(const QString& text) {
    if (text.size() < 8)
        return std::nullopt;
    for (int i = 0; i < 8; ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    const QDate date(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString dateTextOf(const QDate& date) {
    return QString::asprintf("%4.4d%2.2d%2.2d", date.year(), date.month(), date.day());
}

std::optional<QTime> PickedTime::shown() const {
    const QTime time = QTime::fromString(m_text, QLatin1String(m_format));
    if (!time.isValid())
        return std::nullopt;
    return time;
}

void PickedTime::pick(const QTime& time) {
    if (shown() != time)
        m_text = time.toString(QLatin1String(m_format));
}

QString patientNameRefusal(const QString& name,
                           const std::function<bool(const QString&)>& otherPatientNamed) {
    if (name.trimmed().isEmpty())
        return QString::fromLatin1(kNameMissingText);
    if (otherPatientNamed && otherPatientNamed(name))
        return QString::fromLatin1(kNameTakenText).arg(name);
    return {};
}
