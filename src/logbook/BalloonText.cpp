#include "logbook/BalloonText.h"

#include "logbook/LogCells.h"
#include "storage/Sample.h"
#include "storage/SampleDate.h"

namespace BalloonText {

namespace {

const char* const kSeeNotes = "\n** See Notes";

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

// A stored date or timestamp that cannot be read is shown as missing rather than guessed.
QString dateOf(const QString& stored, bool withTime, bool military) {
    try {
        const std::time_t time = withTime ? fromDateTimeText(stored) : fromDateText(stored);
        return withTime ? QString::asprintf("%s %s", utf8(longDate(time)).constData(),
                                            utf8(formatTimeOfDay(time, military)).constData())
                        : longDate(time);
    } catch (const InvalidDateText&) {
        return QStringLiteral("Date?");
    }
}

QString timeOfDay(const QString& stored, bool military) {
    try {
        return formatTimeOfDay(fromDateTimeText(stored), military);
    } catch (const InvalidDateText&) {
        return QString();
    }
}

} // namespace

QString longDate(std::time_t time) {
    return formatTime(time, "%A,%b %d,%Y");
}

QString forDay(const SampleDateAbs& day) {
    QString text = QString::asprintf("%s\nAvg Glucose:%d\nTotal Carbs:%d",
                                     utf8(dateOf(day.getSampleDate(), false, false)).constData(),
                                     day.getAvgGlucoseCnt(), day.getTtlCarbCnt());
    if (day.getNotePk() != 0)
        text += QLatin1String(kSeeNotes);
    return text;
}

QString forEntry(const SampleAbs& entry, bool military, const MedicationLookup& medications) {
    QString text = dateOf(entry.getSampleTime(), true, military);
    const bool glucose = entry.getGlucoseCnt() != 0;
    if (glucose)
        text += QString::asprintf("\nGlucose:%d", entry.getGlucoseCnt());
    if (entry.getCarbCnt() != 0) {
        text += glucose ? QLatin1String(" ") : QLatin1String("\n");
        text += QString::asprintf("Carbs:%d", entry.getCarbCnt());
        const QString& dosage = entry.getMedicationDosage();
        const int insulin = dosage.isEmpty() ? 0 : dosageInsulinHundredths(dosage, medications);
        const QString ratio = insulin > 0 ? carbRatioText(entry.getCarbCnt(), insulin) : QString();
        if (!ratio.isEmpty())
            text += QStringLiteral(" Ratio:") + ratio;
    }
    const QString& dose = entry.getMedicationDosage();
    const QString& correction = entry.getCorrectionDosage();
    if (!dose.isEmpty() || !correction.isEmpty()) {
        text += QString::asprintf("\nMedication: %s ",
                                  utf8(timeOfDay(entry.getInsulinTime(), military)).constData());
        text += dose;
        if (!correction.isEmpty()) {
            if (!dose.isEmpty())
                text += QStringLiteral(" / ");
            text += QString::asprintf("%s correction", utf8(correction).constData());
        }
    }
    if (entry.getNewSiteBol())
        text += QStringLiteral("\nNew Infusion site");
    if (entry.getNotePk() != 0)
        text += QLatin1String(kSeeNotes);
    return text;
}

} // namespace BalloonText
