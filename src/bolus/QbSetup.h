#pragma once

#include "logbook/LogbookContext.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "storage/FieldLimits.h"
#include "storage/PreferenceTable.h"
#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"
#include "ui/Prompts.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <ctime>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The rules of the quick-bolus set-up: what each schedule's item dialog accepts and stores,
// what the schedule pages list, and how the General page switches the calculator on and
// keeps the bolus insulin. The dialogs in widgets/ only move values between these and their
// controls.

namespace QbSetupText {
// Messages that name no operation carry the program's name, like every such box.
inline constexpr const char* kCaption = "Quillmarch";
inline constexpr const char* kDatabaseCaption = "Database";
inline constexpr const char* kNotAnInteger = "Please enter an integer.";
inline constexpr const char* kMinutesRange = "Please enter an integer between 30 and 300.";
inline constexpr const char* kNotSwitchedOn =
    "To enable RivezAdozu you must setup Targets,Ratios, and Sensitivities first.";
} // namespace QbSetupText

// Where an item dialog puts the focus after refusing what was entered.
enum class QbItemFocus { Unchanged, Time, FirstValue, SecondValue };

// A check an item's values failed: the message shown and where the focus goes.
struct QbItemRefusal {
    const char* message;
    QbItemFocus focus;
};

// What a number field holds, which decides its range: a glucose value in the patient's unit
// (whole numbers, as the calculator takes them) or grams of carbohydrate per unit.
enum class QbValueKind { Glucose, CarbRatio };

// One number field of an item dialog, bound to an integer column of the schedule's table.
// `name` names it in a range message.
struct QbValueField {
    int column;
    const char* label;
    QbValueKind kind;
    const char* name;
};

// The numbers a field accepts. The smallest allowed is 1 for every field, which each kind's
// own check reports in its words; the range tells the largest.
IntRange qbValueRange(const QbValueField& field, int glucoseUnit);
// The message for a number above the field's range.
QString qbValueRangeText(const QbValueField& field, int glucoseUnit);

// One column of a schedule page's list.
struct QbListColumn {
    const char* header;
    int width;
    bool centred;
};

// What differs between the three schedules. Each kind names its table, the texts of its page
// and item dialog, its number fields and the checks those must pass before the time is.
struct QbTargetKind {
    using Table = QbTargetTable;
    using Traits = QbTargetTraits;
    static constexpr const char* kPageTitle = "Targets";
    static constexpr const char* kExplanation = "Glucose ranges are targets you would like your "
                                                "glucose to be between based on the time of day.";
    static constexpr QbListColumn kColumns[] = {{"Time of Day", 100, false},
                                                {"Minimum", 75, true},
                                                {"Maximum", 75, true},
                                                {"Qb Target", 75, true}};
    static constexpr const char* kItemTitle = "RivezAdozu - Target";
    static constexpr const char* kTimeLabel = "Range Start Time:";
    static constexpr const char* kValueGroup = "Glucose Target Range";
    static constexpr QbValueField kValues[] = {
        {4, "Minimum", QbValueKind::Glucose, "The minimum glucose"},
        {6, "Maximum", QbValueKind::Glucose, "The maximum glucose"}};
    static constexpr QbItemRefusal kTimeUsed = {"Target time already used", QbItemFocus::Time};

    static std::optional<QbItemRefusal> checkValues(const QbTargetAbs& target);
    static QStringList valueCells(const QbTargetAbs& target);
};

struct QbRatioKind {
    using Table = QbRatioTable;
    using Traits = QbRatioTraits;
    static constexpr const char* kPageTitle = "Ratios";
    static constexpr const char* kExplanation =
        "Insulin Ratios are used to calculate the amout of insulin required for a given amount "
        "of carbohydrate intake based on time of day.\n\nThese values are based on one (1) unit "
        "of insulin.";
    static constexpr QbListColumn kColumns[] = {{"Time of Day", 100, false},
                                                {"1u Ratio", 100, true}};
    static constexpr const char* kItemTitle = "RivezAdozu - Ratio";
    static constexpr const char* kTimeLabel = "Begin Rate Time:";
    static constexpr const char* kValueGroup = nullptr;
    static constexpr QbValueField kValues[] = {
        {4, "Carbs per 1unit:", QbValueKind::CarbRatio, "Carbs per unit"}};
    static constexpr QbItemRefusal kTimeUsed = {"Ratio time already used", QbItemFocus::Time};

    static std::optional<QbItemRefusal> checkValues(const QbRatioAbs& ratio);
    static QStringList valueCells(const QbRatioAbs& ratio);
};

struct QbSensitivityKind {
    using Table = QbSensitivityTable;
    using Traits = QbSensitivityTraits;
    static constexpr const char* kPageTitle = "Sensitivity";
    static constexpr const char* kExplanation =
        "Sensitivity is used in correction calculations per time of day.\nThese values are the "
        "drop in glucose that one(1) unit of insulin will produce based on time of day.";
    static constexpr QbListColumn kColumns[] = {{"Time of Day", 100, true}, {"Amount", 100, true}};
    static constexpr const char* kItemTitle = "RivezAdozu - Sensitivity";
    static constexpr const char* kTimeLabel = "Time of day:";
    static constexpr const char* kValueGroup = nullptr;
    static constexpr QbValueField kValues[] = {
        {4, "1u effect:", QbValueKind::Glucose, "The effect of one unit"}};
    static constexpr QbItemRefusal kTimeUsed = {"Sensitivity time already used",
                                                QbItemFocus::Unchanged};

    static std::optional<QbItemRefusal> checkValues(const QbSensitivityAbs& sensitivity);
    static QStringList valueCells(const QbSensitivityAbs& sensitivity);
};

// A number typed into an item dialog: an empty field is 0 (which each kind refuses); nothing
// when the text is not a whole number. A number too large for int stays large, so that it is
// reported with the field's range rather than as no number.
std::optional<long long> parseItemNumber(const QString& text);

// The schedule pages' and item dialogs' rules, once for all three kinds.
template <class Kind> struct QbSchedule {
    using Table = typename Kind::Table;
    using Abs = typename Table::Abs;
    using Record = typename Table::Record;
    using RecordPtr = typename Table::RecordPtr;

    static std::span<const QbValueField> valueFields() { return Kind::kValues; }
    static std::span<const QbListColumn> listColumns() { return Kind::kColumns; }

    static int value(const Abs& record, int field) { return (record.*columnOf(field).getInt)(); }
    static void setValue(Abs& record, int field, int number) {
        (record.*columnOf(field).setInt)(number);
    }
    static const QString& time(const Abs& record) { return Table::timeOf(record); }
    // The stored time is always the 24-hour "HH:MM", whatever the patient reads.
    static void setTime(Abs& record, std::time_t time) {
        (record.*timeColumn().setText)(formatTimeOfDay(time, true));
    }
    // The time the picker shows: today at the stored time (00:00 for a new row).
    static std::time_t shownTime(const Abs& record, const Clock& clock) {
        return clockTimeToday(time(record), clock);
    }

    // The live rows in ascending start time, as the page lists them.
    static std::vector<RecordPtr> rows(Database& db) {
        std::vector<RecordPtr> list;
        if (auto query = Table::selectAll(db, Table::kTimeColumn, true))
            while (auto row = Table::getNext(db, *query))
                list.push_back(std::move(row));
        return list;
    }

    // A list row: the start time in the patient's clock style, then the kind's numbers.
    static QStringList cells(const Abs& record, const Clock& clock, bool military) {
        QStringList texts{formatTimeOfDay(shownTime(record, clock), military)};
        texts += Kind::valueCells(record);
        return texts;
    }

    // The item dialog's OK: the numbers and the picker's time go into the record, then the
    // checks run in order. Nothing when everything passed; otherwise the patient has been
    // told and the answer is where the focus goes.
    static std::optional<QbItemFocus> takeEntry(Database& db, Prompts& prompts, Abs& record,
                                                const std::vector<QString>& numbers,
                                                std::time_t pickedTime, int glucoseUnit) {
        std::vector<int> parsed;
        for (size_t i = 0; i < numbers.size() && i < valueFields().size(); ++i) {
            const QbValueField& field = valueFields()[i];
            std::optional<long long> number = parseItemNumber(numbers[i]);
            QString refusal;
            if (!number)
                refusal = QString::fromLatin1(QbSetupText::kNotAnInteger);
            else if (*number > qbValueRange(field, glucoseUnit).high)
                refusal = qbValueRangeText(field, glucoseUnit);
            if (!refusal.isEmpty()) {
                prompts.information(QString::fromLatin1(QbSetupText::kCaption), refusal);
                return fieldFocus(static_cast<int>(i));
            }
            // Below the range only the kind's own check speaks; held within int on the way.
            parsed.push_back(static_cast<int>(std::max<long long>(*number, INT_MIN)));
        }
        for (size_t i = 0; i < parsed.size(); ++i)
            setValue(record, static_cast<int>(i), parsed[i]);
        setTime(record, pickedTime);
        std::optional<QbItemRefusal> refusal = Kind::checkValues(record);
        if (!refusal && !Table::isTimeFree(db, record))
            refusal = Kind::kTimeUsed;
        if (!refusal)
            return std::nullopt;
        prompts.information(QString::fromLatin1(QbSetupText::kCaption),
                            QString::fromLatin1(refusal->message));
        return refusal->focus;
    }

    // Rows are stored the moment an item is confirmed; a failure is shown and the caller
    // lists what the table holds.
    static bool store(Database& db, Prompts& prompts, Abs& record) {
        if (Table::save(db, record))
            return true;
        prompts.error(QString::fromLatin1(QbSetupText::kDatabaseCaption), db.errorText());
        return false;
    }

    static bool remove(Database& db, Prompts& prompts, int pk) {
        if (Table::removeByPk(db, pk))
            return true;
        prompts.error(QString::fromLatin1(QbSetupText::kDatabaseCaption), db.errorText());
        return false;
    }

    static QbItemFocus fieldFocus(int field) {
        return field == 0 ? QbItemFocus::FirstValue : QbItemFocus::SecondValue;
    }

private:
    static const Column<Abs>& columnOf(int field) {
        return Kind::Traits::columns()[valueFields()[field].column];
    }
    static const Column<Abs>& timeColumn() { return Kind::Traits::columns()[Table::kTimeColumn]; }
};

// The General page's values and rules: the bolus insulin, the minutes it stays active, and
// the switch that turns the calculator on.
class QbGeneralSetup {
public:
    // A medication the patient may choose for bolusing; `code` is the letter stored.
    struct BolusChoice {
        QString desc;
        QString medCode;
        QChar code;
    };

    static constexpr int kMinMinutes = FieldLimits::kInsulinMinutes.low;
    static constexpr int kMaxMinutes = FieldLimits::kInsulinMinutes.high;

    // Reads the stored insulin settings and the active medications (by name).
    explicit QbGeneralSetup(LogbookContext& context);

    const std::vector<BolusChoice>& choices() const { return m_choices; }
    // The choice shown when the page opens: the stored insulin's, else the first; -1 when
    // there is none. Showing it does not change the bolus code; only choose() does.
    int shownChoice() const;
    void choose(int index);
    const QString& bolusCode() const { return m_bolusCode; }
    // Whether the choice shown is the insulin stored. On a new patient the list shows its first
    // insulin although none is set up until the patient picks one, and the page says so.
    bool shownIsStored() const;

    int minutes() const { return m_minutes; }
    // Takes the minutes field; outside 30 to 300 the range is reported and false returned.
    bool takeMinutes(const QString& text);

    // Switches the calculator on exactly when every schedule holds a row, and stores that
    // either way. False (with the patient told) when it stays off.
    bool apply();
    // Every schedule holds at least one row, deleted rows included; asked in the order
    // ratios, targets, sensitivities, and no further once one is empty.
    static bool schedulesComplete(Database& db);

    // After the sheet closed with OK: the insulin and its minutes are stored, and the
    // preference's copy of the targets is read again.
    bool storeInsulin();

private:
    std::unique_ptr<QbPreference> readQbPreference();
    bool saveQbPreference(QbPreferenceAbs& qbPreference);

    LogbookContext& m_context;
    QString m_bolusCode;
    int m_minutes = 0;
    std::vector<BolusChoice> m_choices;
};
