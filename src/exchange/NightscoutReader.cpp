#include "exchange/NightscoutReader.h"

#include "exchange/CsvFields.h"
#include "exchange/MeterFileText.h"
#include "storage/Conversions.h"

#include <QDateTime>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Nightscout keeps a sensor's "LOW" and "HIGH" as these values; lower values are the sensor's
// error codes (no signal, warm-up, ...), not glucose.
constexpr int kLowMarker = 39;
constexpr int kHighMarker = 401;
constexpr int kMaxGlucose = 999;
// Moments from 1970 to the end of year 9998: any later one no longer has a four-digit year in
// every zone.
constexpr double kMaxEpochSeconds = 253370764800.0;

// A number, or a number written as text (some uploaders send "sgv": "123").
std::optional<double> numberOf(const QJsonValue& value) {
    if (value.isDouble())
        return value.toDouble();
    if (value.isString()) {
        bool ok = false;
        const double number = value.toString().trimmed().toDouble(&ok);
        if (ok)
            return number;
    }
    return std::nullopt;
}

std::optional<QString> localTimeOfSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0 || seconds > kMaxEpochSeconds)
        return std::nullopt;
    return toDateTimeText(static_cast<std::time_t>(std::floor(seconds)));
}

std::optional<QString> localTimeOfMilliseconds(const QJsonValue& value) {
    const std::optional<double> ms = numberOf(value);
    if (!ms)
        return std::nullopt;
    return localTimeOfSeconds(*ms / 1000.0);
}

// An ISO-8601 moment; one with a zone or "Z" is converted to local time, one without is taken
// as local time already.
std::optional<QString> localTimeOfIso(const QJsonValue& value) {
    if (!value.isString())
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    return localTimeOfSeconds(static_cast<double>(moment.toSecsSinceEpoch()));
}

std::optional<QString> entryTime(const QJsonObject& entry) {
    if (std::optional<QString> time = localTimeOfMilliseconds(entry.value(QLatin1String("date"))))
        return time;
    return localTimeOfIso(entry.value(QLatin1String("dateString")));
}

std::optional<QString> treatmentTime(const QJsonObject& treatment) {
    if (std::optional<QString> time = localTimeOfIso(treatment.value(QLatin1String("created_at"))))
        return time;
    if (std::optional<QString> time =
            localTimeOfMilliseconds(treatment.value(QLatin1String("date"))))
        return time;
    return localTimeOfMilliseconds(treatment.value(QLatin1String("mills")));
}

// Only a record that says so is long-acting: an injected basal insulin is recorded as a
// "Basal Injection" or names its kind; every other dose is rapid-acting.
bool isLongActing(const QJsonObject& treatment) {
    const QString event = treatment.value(QLatin1String("eventType")).toString().toLower();
    if (event.contains(QLatin1String("basal injection")) ||
        event.contains(QLatin1String("long acting")) ||
        event.contains(QLatin1String("long-acting")))
        return true;
    const QString kind = treatment.value(QLatin1String("insulinType")).toString().toLower();
    static const char* const markers[] = {"long",   "basal",   "glargine", "degludec", "detemir",
                                          "lantus", "levemir", "tresiba",  "toujeo",   "basaglar"};
    for (const char* marker : markers)
        if (kind.contains(QLatin1String(marker)))
            return true;
    return false;
}

// A blood glucose checked with a meter and entered as a treatment, in mg/dL. Treatments
// also carry the sensor's value at the moment of a bolus ("glucoseType": "Sensor"), which
// the sensor trace holds already and is not a meter reading.
std::optional<int> fingerGlucose(const QJsonObject& treatment) {
    const QString type = treatment.value(QLatin1String("glucoseType")).toString().toLower();
    const QString event = treatment.value(QLatin1String("eventType")).toString().toLower();
    if (type != QLatin1String("finger") &&
        (event != QLatin1String("bg check") || type == QLatin1String("sensor")))
        return std::nullopt;
    const std::optional<double> value = numberOf(treatment.value(QLatin1String("glucose")));
    if (!value || !std::isfinite(*value) || *value <= 0 || *value > kMaxGlucose)
        return std::nullopt;
    const bool mmol = treatment.value(QLatin1String("units"))
                          .toString()
                          .toLower()
                          .startsWith(QLatin1String("mmol"));
    // mmol/L as the logbook keeps it: tenths, then converted as every stored value is.
    const int mgDl = mmol ? mmolTenthsToMgDl(static_cast<int>(*value * 10 + 1e-9))
                          : static_cast<int>(std::lround(*value));
    if (mgDl <= 0 || mgDl > kMaxGlucose)
        return std::nullopt;
    return mgDl;
}

class Reading {
public:
    explicit Reading(CgmExport& result) : m_result(result) {}

    void readItem(const QJsonValue& item);

private:
    void readEntry(const QJsonObject& entry);
    void readTreatment(const QJsonObject& treatment);
    void ignore() { ++m_result.linesIgnored; }

    CgmExport& m_result;
};

void Reading::readItem(const QJsonValue& item) {
    if (!item.isObject())
        return ignore();
    const QJsonObject record = item.toObject();
    if (record.contains(QLatin1String("eventType")))
        return readTreatment(record);
    if (record.contains(QLatin1String("type")) || record.contains(QLatin1String("sgv")) ||
        record.contains(QLatin1String("mbg")))
        return readEntry(record);
    ignore();
}

void Reading::readEntry(const QJsonObject& entry) {
    QString type = entry.value(QLatin1String("type")).toString();
    if (!entry.contains(QLatin1String("type")))
        type = entry.contains(QLatin1String("sgv")) ? QStringLiteral("sgv") : QStringLiteral("mbg");
    const std::optional<QString> time = entryTime(entry);
    if (!time)
        return ignore();
    if (type == QLatin1String("sgv")) {
        const std::optional<double> sgv = numberOf(entry.value(QLatin1String("sgv")));
        if (!sgv || !std::isfinite(*sgv) || *sgv < kLowMarker || *sgv > kMaxGlucose)
            return ignore();
        CgmReading reading{*time, static_cast<int>(std::lround(*sgv)), 0,
                           QString::fromLatin1(NightscoutReader::kSource)};
        if (reading.glucose == kLowMarker) {
            reading.glucose = CgmReading::kLowMgDl;
            reading.rangeFlag = -1;
        } else if (reading.glucose == kHighMarker) {
            reading.glucose = CgmReading::kHighMgDl;
            reading.rangeFlag = 1;
        }
        m_result.readings.push_back(std::move(reading));
    } else if (type == QLatin1String("mbg")) {
        const std::optional<double> mbg = numberOf(entry.value(QLatin1String("mbg")));
        if (!mbg || !std::isfinite(*mbg) || *mbg < 1 || *mbg > kMaxGlucose)
            return ignore();
        CgmEvent meter = CgmEvent::at(*time, CgmEvent::Kind::MeterGlucose);
        meter.glucose = static_cast<int>(std::lround(*mbg));
        m_result.events.push_back(std::move(meter));
    } else if (type != QLatin1String("cal")) {
        // Calibration records are the uploader's bookkeeping and are passed over on purpose;
        // any other type is not a glucose entry at all.
        return ignore();
    }
    ++m_result.recordsRead;
}

void Reading::readTreatment(const QJsonObject& treatment) {
    const std::optional<QString> time = treatmentTime(treatment);
    if (!time)
        return ignore();
    // A record without a meter glucose, insulin, carbohydrates or a note (a temporary basal
    // rate, a site change) is read and deliberately left out.
    ++m_result.recordsRead;
    if (const std::optional<int> glucose = fingerGlucose(treatment)) {
        CgmEvent meter = CgmEvent::at(*time, CgmEvent::Kind::MeterGlucose);
        meter.glucose = *glucose;
        m_result.events.push_back(std::move(meter));
    }
    if (const std::optional<double> insulin = numberOf(treatment.value(QLatin1String("insulin")))) {
        const QString units = CsvFields::dose(*insulin);
        if (!units.isEmpty()) {
            CgmEvent dose =
                CgmEvent::at(*time, isLongActing(treatment) ? CgmEvent::Kind::LongInsulin
                                                            : CgmEvent::Kind::RapidInsulin);
            dose.units = units;
            m_result.events.push_back(std::move(dose));
        }
    }
    if (const std::optional<double> carbs = numberOf(treatment.value(QLatin1String("carbs")));
        carbs && std::isfinite(*carbs) && *carbs >= 0.5 && *carbs < 10000) {
        CgmEvent meal = CgmEvent::at(*time, CgmEvent::Kind::Carbs);
        meal.carbs = static_cast<int>(std::lround(*carbs));
        m_result.events.push_back(std::move(meal));
    }
    if (const QString notes = treatment.value(QLatin1String("notes")).toString().trimmed();
        !notes.isEmpty()) {
        CgmEvent note = CgmEvent::at(*time, CgmEvent::Kind::Note);
        note.text = notes;
        m_result.events.push_back(std::move(note));
    }
}

// The file's bytes, at most the size any meter or sensor export can have.
bool readBytes(QIODevice& file, const QString& fileName, QByteArray& bytes, QString& problem) {
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1 cannot be read: %2").arg(fileName, file.errorString());
        return false;
    }
    constexpr qint64 kPiece = 64 * 1024;
    for (;;) {
        const QByteArray piece = file.read(kPiece);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > MeterFileText::kMaxFileBytes) {
            problem = QStringLiteral("%1 is too large to be a Nightscout file.").arg(fileName);
            return false;
        }
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return true;
}

QString kindOf(const QJsonDocument& document) {
    if (document.isObject())
        return QStringLiteral("an object");
    return QStringLiteral("a single value");
}

} // namespace

CgmExport NightscoutReader::read(QIODevice& file, const QString& fileName) {
    CgmExport result;
    QByteArray bytes;
    if (!readBytes(file, fileName, bytes, result.error))
        return result;
    if (bytes.trimmed().isEmpty()) {
        result.error = QStringLiteral("%1 is empty: it holds no record to import.").arg(fileName);
        return result;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        result.error =
            QStringLiteral("%1 is not a Nightscout file: it is not JSON (%2 at character %3).")
                .arg(fileName, parse.errorString())
                .arg(std::min<qsizetype>(parse.offset + 1, bytes.size()));
        return result;
    }
    if (!document.isArray()) {
        result.error = QStringLiteral("%1 is not a Nightscout file: it holds %2 where a list of "
                                      "records belongs.")
                           .arg(fileName, kindOf(document));
        return result;
    }
    const QJsonArray items = document.array();
    Reading reading(result);
    for (const QJsonValue& item : items)
        reading.readItem(item);
    if (result.recordsRead == 0) {
        result = CgmExport();
        result.error =
            QStringLiteral("%1 holds no Nightscout record: none of its %2 items is a glucose "
                           "entry (sgv, mbg) or a treatment with its time.")
                .arg(fileName)
                .arg(items.size());
    }
    return result;
}
