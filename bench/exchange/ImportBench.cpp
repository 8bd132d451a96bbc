// Speed of the OneTouch import: a generated export of 100,000 records (glucose, carbohydrates
// and insulin at nine moments a day, a little over ten years) imported into a new patient's
// database, made as the program makes one. The goal is under 3 s.

#include "app/DefaultData.h"
#include "exchange/OneTouchData.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/Database.h"
#include "storage/Preference.h"
#include "support/TestLogbookContext.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 100'000;
const QDate kFirstDay(2014, 1, 1);

// One record line of the export: its number, date, time, value, type, insulin code, comment.
QByteArray recordLine(int number, QDate day, const char* time, int value, int type, int insulinCode,
                      const QByteArray& comment) {
    return QByteArray::number(number) + ',' + day.toString("MM/dd/yyyy").toLatin1() + ',' + time +
           ',' + QByteArray::number(value) + ",,mg/dL," + QByteArray::number(type) + ",,0," +
           QByteArray::number(insulinCode) + ',' + comment + ",,,,,\r\n";
}

// Nine moments a day, each with a glucose reading, the carbohydrates eaten and the rapid
// insulin taken; every seventh moment carries an event code, every eleventh a comment.
QByteArray generatedExport() {
    static const char* const kTimes[] = {"06:30:00", "08:00:00", "10:00:00", "12:00:00", "14:00:00",
                                         "16:00:00", "18:00:00", "20:00:00", "22:00:00"};
    QByteArray text = "\"TOTAL NUMBER OF RECORDS: " + QByteArray::number(kRecords) + "\"\r\n";
    int number = 0;
    for (int moment = 0; number < kRecords; ++moment) {
        const QDate day = kFirstDay.addDays(moment / 9);
        const char* time = kTimes[moment % 9];
        QByteArray comment;
        if (moment % 7 == 0)
            comment = "\x7f"
                      "0112";
        else if (moment % 11 == 0)
            comment = "\"Walk after the meal\"";
        text += recordLine(++number, day, time, 80 + moment * 37 % 160, 10, 0, comment);
        if (number < kRecords)
            text += recordLine(++number, day, time, 10 + moment * 13 % 70, 50, 0, {});
        if (number < kRecords)
            text += recordLine(++number, day, time, 1 + moment % 9, 30, 1, {});
    }
    return text;
}

void import_onetouch_100k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.filePath("meter.csv");
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(generatedExport()) < 0) {
            state.SkipWithError("the export file cannot be written");
            return;
        }
    }
    SilentPrompts prompts;
    NoProgress progress;
    // After the last record, with a retention that keeps all of them.
    FixedClock clock(fromDateTimeText("20240601120000"));
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database db(dir.filePath(QString("patient%1.db").arg(++run)), prompts);
        Preference preference;
        preference.setPatientName("Bench Patient");
        preference.setRetainPcDayCnt(9999);
        if (!DefaultData::initNewDatabase(db, preference, clock)) {
            state.SkipWithError("the patient's database cannot be made");
            return;
        }
        TestLogbookContext context(db, prompts, clock.now());
        state.ResumeTiming();

        const ImportResult result = OneTouchData(context, progress).importFile(file);
        if (!result.ok || result.recordsRead != kRecords) {
            state.SkipWithError(result.error.toStdString().c_str());
            return;
        }
        state.counters["entries"] = db.count("select count(*) from SAMPLE");
        state.counters["days"] = result.daysSummarized;
    }
    state.counters["records/s"] = benchmark::Counter(double(kRecords) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(import_onetouch_100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
