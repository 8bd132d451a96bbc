#pragma once

#include "bolus/QbSetup.h"

#include <QDialog>
#include <optional>
#include <vector>

class QLineEdit;
class QPushButton;
class QTimeEdit;

// The small modal dialog that edits one row of a schedule: a time picker and the row's
// number fields. The row itself and its checks belong to the kind (QbPrefItem below).
class QbPrefItemDlg : public QDialog {
    Q_OBJECT
public:
    QTimeEdit* timePicker() const { return m_time; }
    QLineEdit* valueEdit(int field) const { return m_values[static_cast<size_t>(field)]; }
    int valueCount() const { return static_cast<int>(m_values.size()); }
    QPushButton* okButton() const { return m_ok; }

    // Closes only when everything entered passed the checks.
    void accept() override;

protected:
    struct Layout {
        const char* title;
        const char* timeLabel;
        const char* valueGroup; // nullptr: the fields stand without a group box
        std::span<const QbValueField> fields;
    };
    QbPrefItemDlg(const Layout& layout, const Clock& clock, bool military, QWidget* parent);

    // Puts a row's time and numbers into the controls.
    void showEntry(std::time_t time, const std::vector<int>& numbers);
    // Takes what the controls hold; nothing when it passed, otherwise where the focus goes.
    virtual std::optional<QbItemFocus> takeEntry(const std::vector<QString>& numbers,
                                                 std::time_t time) = 0;

private:
    const Clock& m_clock;
    QTimeEdit* m_time = nullptr;
    std::vector<QLineEdit*> m_values;
    QPushButton* m_ok = nullptr;
};

// The item dialog of one schedule kind, working on its own copy of the row.
template <class Kind> class QbPrefItem : public QbPrefItemDlg {
    using Schedule = QbSchedule<Kind>;

public:
    using Record = typename Schedule::Record;

    QbPrefItem(LogbookContext& context, const Record& record, QWidget* parent = nullptr)
        : QbPrefItemDlg(
              {Kind::kItemTitle, Kind::kTimeLabel, Kind::kValueGroup, Schedule::valueFields()},
              context.clock(), context.preference().getMilitaryTimeBol(), parent),
          m_context(context), m_record(record) {
        std::vector<int> numbers;
        for (int i = 0; i < static_cast<int>(Schedule::valueFields().size()); ++i)
            numbers.push_back(Schedule::value(m_record, i));
        showEntry(Schedule::shownTime(m_record, context.clock()), numbers);
    }

    const Record& record() const { return m_record; }

private:
    std::optional<QbItemFocus> takeEntry(const std::vector<QString>& numbers,
                                         std::time_t time) override {
        return Schedule::takeEntry(m_context.database(), m_context.prompts(), m_record, numbers,
                                   time, m_context.preference().getGlucoseSampleCode());
    }

    LogbookContext& m_context;
    Record m_record;
};

using QbPrefTargetItem = QbPrefItem<QbTargetKind>;
using QbPrefRatioitem = QbPrefItem<QbRatioKind>;
using QbPrefSensitfityItem = QbPrefItem<QbSensitivityKind>;
