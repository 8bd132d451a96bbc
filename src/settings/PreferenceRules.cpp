#include "settings/PreferenceRules.h"

#include "storage/Conversions.h"

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
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    if (!ok || days < kMinRetainDays || days > kMaxRetainDays)
        return std::nullopt;
    return days;
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
