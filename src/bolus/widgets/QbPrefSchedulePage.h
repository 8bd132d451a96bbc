#pragma once

#include "bolus/QbSetup.h"
#include "bolus/widgets/QbPrefItemDlg.h"
#include "ui/widgets/RecordListPage.h"

#include <functional>
#include <vector>

class DeleteQuestion;

// A schedule page: the schedule's rows in a list with New, Modify and Remove. Every change
// is stored the moment it is confirmed, so the sheet's Cancel leaves it in place.
class QbPrefSchedulePage : public RecordListPage {
    Q_OBJECT
protected:
    QbPrefSchedulePage(LogbookContext& context, DeleteQuestion& deleteQuestion,
                       const char* explanation, std::span<const QbListColumn> columns,
                       QWidget* parent);

    bool confirmRemove() override;

    LogbookContext& m_context;

private:
    DeleteQuestion& m_deleteQuestion;
};

// The page of one schedule kind.
template <class Kind> class QbPrefSchedule : public QbPrefSchedulePage {
    using Schedule = QbSchedule<Kind>;
    using Record = typename Schedule::Record;

public:
    // How an item is edited; the item dialog unless a test puts something else in.
    using ItemEditor = std::function<bool(Record&)>;

    QbPrefSchedule(LogbookContext& context, DeleteQuestion& deleteQuestion,
                   QWidget* parent = nullptr)
        : QbPrefSchedulePage(context, deleteQuestion, Kind::kExplanation, Schedule::listColumns(),
                             parent) {
        fill();
    }

    void setItemEditor(ItemEditor editor) { m_editor = std::move(editor); }

protected:
    std::vector<Row> rows() override {
        std::vector<Row> listed;
        const bool military = m_context.preference().getMilitaryTimeBol();
        for (const auto& record : Schedule::rows(m_context.database()))
            listed.push_back(
                {record->getPk(), Schedule::cells(*record, m_context.clock(), military)});
        return listed;
    }

    bool editNew() override {
        Record record;
        return edit(record);
    }

    bool editStored(int pk) override {
        auto record = Schedule::Table::getByPk(m_context.database(), pk);
        return record && edit(*record);
    }

    bool removeStored(int pk) override {
        return Schedule::remove(m_context.database(), m_context.prompts(), pk);
    }

private:
    bool edit(Record& record) {
        if (m_editor) {
            if (!m_editor(record))
                return false;
        } else {
            QbPrefItem<Kind> dialog(m_context, record, this);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            record = dialog.record();
        }
        return Schedule::store(m_context.database(), m_context.prompts(), record);
    }

    ItemEditor m_editor;
};

using QbPrefTarget = QbPrefSchedule<QbTargetKind>;
using QbPrefRatio = QbPrefSchedule<QbRatioKind>;
using QbPrefSensitivity = QbPrefSchedule<QbSensitivityKind>;
