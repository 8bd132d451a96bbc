// Speed of the Clarity import: a generated 90-day export (a sensor reading every 5 minutes,
// 25,920 of them, with three meals' carbohydrates and rapid-acting doses, a long-acting dose and
// two calibrations a day) read from memory and imported into a new patient's database, made as
// the program makes one. The goal is under 1 s.

#include "app/DefaultData.h"
#include "exchange/CgmImport.h"
#include "exchange/ClarityReader.h"
#include "storage/CgmReadingTable.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "support/TestLogbookContext.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QBuffer>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kDays = 90;
constexpr int kReadingsPerDay = 24 * 12;
const QDateTime kFirstMoment(QDate(2024, 1, 1), QTime(0, 2, 31));

QByteArray row(int index, const QDateTime& at, const char* type, const char* subtype,
               const QByteArray& glucose, const QByteArray& insulin, const QByteArray& carbs) {
    return '"' + QByteArray::number(index) + "\",\"" +
           at.toString("yyyy-MM-ddTHH:mm:ss").toLatin1() + "\",\"" + type + "\",\"" + subtype +
           "\",\"\",\"\",\"Receiver\",\"" + glucose + "\",\"" + insulin + "\",\"" + carbs +
           "\",\"\",\"\",\"123456\",\"8ABC12\"\r\n";
}

QByteArray generatedExport() {
    QByteArray text = "\xEF\xBB\xBF\"Index\",\"Timestamp (YYYY-MM-DDThh:mm:ss)\",\"Event "
                      "Type\",\"Event Subtype\",\"Patient Info\",\"Device Info\",\"Source Device "
                      "ID\",\"Glucose Value (mg/dL)\",\"Insulin Value (u)\",\"Carb Value "
                      "(grams)\",\"Duration (hh:mm:ss)\",\"Glucose Rate of Change "
                      "(mg/dL/min)\",\"Transmitter Time (Long Integer)\",\"Transmitter ID\"\r\n";
    int index = 0;
    text += row(++index, QDateTime(), "FirstName", "", "", "", "");
    text += row(++index, QDateTime(), "LastName", "", "", "", "");
    for (int day = 0; day < kDays; ++day) {
        const QDateTime midnight = kFirstMoment.addDays(day);
        for (int i = 0; i < kReadingsPerDay; ++i) {
            const int value = 60 + (day * 7 + i * 13) % 280;
            const QByteArray glucose = value > 330  ? "High"
                                       : value < 62 ? "Low"
                                                    : QByteArray::number(value);
            text += row(++index, midnight.addSecs(i * 300), "EGV", "", glucose, "", "");
        }
        for (int meal : {7, 12, 19}) {
            const QDateTime at = midnight.addSecs(meal * 3600 + 600);
            text += row(++index, at, "Carbs", "", "", "", QByteArray::number(30 + meal + day % 20));
            text += row(++index, at.addSecs(40), "Insulin", "Fast-Acting", "",
                        QByteArray::number(2 + (meal + day) % 6) + ".5", "");
        }
        text += row(++index, midnight.addSecs(22 * 3600), "Insulin", "Long-Acting", "", "18", "");
        text += row(++index, midnight.addSecs(6 * 3600 + 900), "Calibration", "", "104", "", "");
        text += row(++index, midnight.addSecs(18 * 3600 + 900), "Calibration", "", "151", "", "");
    }
    return text;
}

void import_clarity_90d(benchmark::State& state) {
    const QByteArray file = generatedExport();
    QTemporaryDir dir;
    SilentPrompts prompts;
    NoProgress progress;
    FixedClock clock(fromDateTimeText("20240405120000"));
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database db(dir.filePath(QString("patient%1.db").arg(++run)), prompts);
        Preference preference;
        preference.setPatientName("Bench Patient");
        if (!DefaultData::initNewDatabase(db, preference, clock)) {
            state.SkipWithError("the patient's database cannot be made");
            return;
        }
        TestLogbookContext context(db, prompts, clock.now());
        QBuffer buffer;
        buffer.setData(file);
        state.ResumeTiming();

        const ImportResult result =
            CgmImport(context, progress)
                .import(&ClarityReader::read, buffer, "clarity.csv", CgmInsulinChoice{"H", "G"});
        if (!result.ok || result.readingsStored != kDays * kReadingsPerDay) {
            state.SkipWithError(result.ok ? "not every reading was stored"
                                          : result.error.toStdString().c_str());
            return;
        }
        state.counters["readings"] = CgmReadingTable::count(db);
        state.counters["entries"] = db.count("select count(*) from SAMPLE");
    }
}

} // namespace

BENCHMARK(import_clarity_90d)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
