#include "LogbookGenerator.h"

#include "logbook/DaySummary.h"
#include "storage/A1cTable.h"
#include "storage/BasilRateTable.h"
#include "storage/BloodPressureTable.h"
#include "storage/CarbsTable.h"
#include "storage/Conversions.h"
#include "storage/Indexes.h"
#include "storage/MedicationTable.h"
#include "storage/MeterTable.h"
#include "storage/NoteTable.h"
#include "storage/PreferenceTable.h"
#include "storage/ProtocolTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleTypeTable.h"
#include "storage/Transaction.h"

#include <QDate>
#include <random>

namespace {

struct SlotPlan {
    const char* time; // start of the slot, HHMM
    const char* name;
    int carbs; // typical grams
    bool meal;
};

constexpr SlotPlan kSlots[] = {
    {"0700", "Breakfast", 55, true}, {"0930", "Snack AM", 15, false},
    {"1130", "Lunch", 70, true},     {"1430", "Snack PM", 20, false},
    {"1730", "Dinner", 80, true},    {"1930", "Evening", 10, false},
    {"2200", "Bedtime", 15, false},  {"0200", "Night", 0, false},
};

QString amount(double units) {
    return QString::number(units, 'f', units == static_cast<int>(units) ? 0 : 1);
}

} // namespace

bool createLogbookSchema(Database& db) {
    bool ok = SampleDateTable::createTable(db) && SampleTable::createTable(db) &&
              SampleTypeTable::createTable(db) && NoteTable::createTable(db) &&
              MedicationTable::createTable(db);
    for (const SlotPlan& plan : kSlots) {
        SampleType slot;
        slot.setSampleTime(plan.time);
        slot.setDesc(plan.name);
        ok = SampleTypeTable::save(db, slot) && ok;
    }
    const char* insulins[][2] = {{"H", "Humalog"}, {"G", "Lantus"}};
    for (auto& insulin : insulins) {
        Medication med;
        med.setMedCode(insulin[0]);
        med.setMedDesc(insulin[1]);
        ok = MedicationTable::save(db, med) && ok;
    }
    return ensureIndexes(db) && ok;
}

GeneratedCounts generateLogbook(Database& db, const LogbookShape& shape) {
    GeneratedCounts counts;
    std::mt19937 random(shape.seed);
    std::normal_distribution<double> glucose(145.0, 45.0);
    std::uniform_int_distribution<int> percent(0, 99);
    const int slotCount = std::min<int>(shape.entriesPerDay, std::size(kSlots));

    QDate date = QDate::fromString(shape.firstDate, "yyyyMMdd");
    // The whole logbook is one unit of work, as an import is: one flush to disk at the end,
    // so the figure is our code's and not the disk's.
    Transaction unit(db);
    for (int d = 0; d < shape.days; ++d, date = date.addDays(1)) {
        const QString dateText = date.toString("yyyyMMdd");
        // The day row first, found or made once for all of the day's entries.
        int dayPk = 0;
        if (auto stored = SampleDateTable::getByDate(db, dateText)) {
            dayPk = stored->getPk();
        } else {
            SampleDate day;
            day.setSampleDate(dateText);
            if (SampleDateTable::save(db, day))
                ++counts.days;
            dayPk = day.getPk();
        }
        for (int s = 0; s < slotCount; ++s) {
            const SlotPlan& plan = kSlots[s];
            Sample entry;
            entry.setSampleTypePk(s + 1);
            entry.setSampleTime(dateText + plan.time + "00");
            entry.setGlucoseCnt(std::clamp(static_cast<int>(glucose(random)), 40, 450));
            entry.setCarbCnt(plan.carbs ? plan.carbs + percent(random) % 25 - 12 : 0);
            entry.setDeliveryCode(1);
            QString doses;
            if (plan.meal)
                doses = amount(entry.getCarbCnt() / 12.0) + "H";
            if (s == 6)
                doses = "22G";
            if (!doses.isEmpty()) {
                entry.setMedicationDosage(doses);
                entry.setInsulinTime(entry.getSampleTime());
            }
            if (entry.getGlucoseCnt() > 200 && plan.meal) {
                entry.setCorrectionDosage(amount((entry.getGlucoseCnt() - 120) / 40.0) + "H");
                entry.setInsulinTime(entry.getSampleTime());
            }
            if (entry.getGlucoseCnt() > 300 && percent(random) < 40)
                entry.setKeytoneCode(2 + percent(random) % 3);
            if (percent(random) < 10) {
                Note note;
                note.setNoteType(NoteType::LogEntry);
                note.setText(QStringLiteral("Walked the dog before %1; felt fine").arg(plan.name));
                NoteTable::save(db, note);
                entry.setNotePk(note.getPk());
                ++counts.notes;
            }
            if (s == 0 && shape.siteChangeEveryDays > 0 && d % shape.siteChangeEveryDays == 0)
                entry.setNewSiteBol(true);
            entry.setSampleDatePk(dayPk);
            if (SampleTable::save(db, entry, SyncState::Added))
                ++counts.entries;
        }
    }
    unit.commit();
    return counts;
}

GeneratedCounts generateViewedLogbook(Database& db) {
    createLogbookSchema(db);
    PreferenceTable::createTable(db);
    QbPreferenceTable::createTable(db);
    QbTargetTable::createTable(db);
    return generateLogbook(db, LogbookShape{});
}

namespace {

// The side tables of a patient who uses everything the program keeps, over the logbook's days.
bool generateSideTables(Database& db, const LogbookShape& shape) {
    bool ok = A1cTable::createTable(db) && CarbsTable::createTable(db) &&
              BloodPressureTable::createTable(db) && BasilRateTable::createTable(db) &&
              QbRatioTable::createTable(db) && QbSensitivityTable::createTable(db) &&
              ProtocolTable::createTable(db) && MeterTable::createTable(db);

    auto preference = PreferenceTable::load(db);
    preference->setPatientName(QStringLiteral("Pat Example"));
    ok = PreferenceTable::save(db, *preference) && ok;
    QbPreference general;
    general.setPk(QbPreferenceTable::kPk);
    general.setMedCode(QStringLiteral("H"));
    general.setMedMinutes(200);
    general.setUseBol(true);
    ok = QbPreferenceTable::save(db, general) && ok;
    const char* times[] = {"00:00", "04:00", "07:00", "11:30", "17:00", "21:30"};
    for (int i = 0; i < 6; ++i) {
        BasilRate rate;
        rate.setStartTime(times[i]);
        rate.setBasilMedAmt(amount(0.6 + 0.15 * (i % 3)));
        QbTarget target;
        target.setTargetTime(times[i]);
        target.setGlucoseLo(80 + 10 * (i % 2));
        target.setGlucoseHi(130 + 10 * (i % 3));
        QbRatio ratio;
        ratio.setRatioTime(times[i]);
        ratio.setCarbCnt(10 + i);
        QbSensitivity sensitivity;
        sensitivity.setSensTime(times[i]);
        sensitivity.setGlucoseCnt(35 + 5 * (i % 2));
        ok = BasilRateTable::save(db, rate) && QbTargetTable::save(db, target) &&
             QbRatioTable::save(db, ratio) && QbSensitivityTable::save(db, sensitivity) && ok;
    }

    Protocol protocol;
    protocol.setEffectiveDate(shape.firstDate);
    protocol.setText(QStringLiteral("Basal as set on the pump\r\n1u per 12g carbohydrate"));
    Meter meter;
    meter.setDesc(QStringLiteral("Primary Meter"));
    meter.setMfg(QStringLiteral("Unknown"));
    meter.setModel(QStringLiteral("Unknown"));
    ok = ProtocolTable::save(db, protocol) && MeterTable::save(db, meter) && ok;

    const char* foods[] = {"Apple",       "Bagel",        "Banana",     "Bread, slice",
                           "Cereal, cup", "Cookie",       "Corn, cup",  "Crackers (6)",
                           "Milk, cup",   "Orange juice", "Pasta, cup", "Pizza, slice",
                           "Potato",      "Rice, cup",    "Yogurt"};
    for (int i = 0; i < 120; ++i) {
        Carbs food;
        food.setCatagory(i % 6);
        food.setCarbName(QStringLiteral("%1 %2").arg(QLatin1String(foods[i % 15])).arg(i / 15 + 1));
        food.setCarbCnt(5 + (i * 7) % 60);
        ok = CarbsTable::save(db, food) && ok;
    }

    std::mt19937 random(shape.seed + 1);
    std::normal_distribution<double> systolic(128.0, 12.0);
    std::uniform_int_distribution<int> percent(0, 99);
    QDate date = QDate::fromString(shape.firstDate, QStringLiteral("yyyyMMdd"));
    for (int d = 0; d < shape.days; ++d, date = date.addDays(1)) {
        const QString day = date.toString(QStringLiteral("yyyyMMdd"));
        BloodPressure vital;
        vital.setBpTime(day + QStringLiteral("073000"));
        vital.setSystolic(static_cast<int>(systolic(random)));
        vital.setDiastolic(vital.getSystolic() * 2 / 3 + percent(random) % 10);
        vital.setPulse(60 + percent(random) % 30);
        if (date.dayOfWeek() == Qt::Monday)
            vital.setWeight(amount(160 + percent(random) % 8));
        if (percent(random) < 8) {
            Note note;
            note.setNoteType(NoteType::Vital);
            note.setText(QStringLiteral("Measured after a short walk; cuff on the left arm"));
            ok = NoteTable::save(db, note) && ok;
            vital.setNotePk(note.getPk());
        }
        ok = BloodPressureTable::save(db, vital) && ok;
        if (d % 91 == 0) {
            A1c a1c;
            a1c.setA1cDate(day);
            a1c.setA1cCount(amount(6.2 + 0.1 * (percent(random) % 12)));
            ok = A1cTable::save(db, a1c) && ok;
        }
    }
    return ok;
}

} // namespace

GeneratedCounts generateReportedLogbook(Database& db) {
    createLogbookSchema(db);
    PreferenceTable::createTable(db);
    QbPreferenceTable::createTable(db);
    QbTargetTable::createTable(db);
    LogbookShape shape;
    shape.siteChangeEveryDays = 3;
    const GeneratedCounts counts = generateLogbook(db, shape);
    Transaction unit(db);
    generateSideTables(db, shape);
    std::vector<std::unique_ptr<Medication>> medications;
    if (auto query = MedicationTable::selectAll(db, 0, true))
        while (auto medication = MedicationTable::getNext(db, *query))
            medications.push_back(std::move(medication));
    // Every day summarized, as the view's summarize pass leaves the logbook: the daily summary
    // reads each day's average from it. All days are read before any is written.
    const MedicationLookup lookup = makeMedicationLookup(medications);
    std::vector<std::unique_ptr<SampleDate>> days;
    if (auto query = SampleDateTable::selectAll(db, -1, true))
        while (auto day = SampleDateTable::getNext(db, *query))
            days.push_back(std::move(day));
    for (const auto& day : days)
        summarizeDay(db, *day, false, lookup);
    unit.commit();
    return counts;
}
