#pragma once

#include "logbook/DeleteConfirmation.h"
#include "settings/PatientSettingsContext.h"
#include "settings/SettingsLists.h"
#include "ui/widgets/RecordListPage.h"

class DeleteQuestion;

// A list page of the Preferences sheet over one table whose records are edited in the item
// dialog `ItemDlg` (built from the context, the record and a parent, and answering the
// edited copy with record()). A confirmed dialog is stored at once; a removal is asked first.
template <class Table, class ItemDlg>
class SettingsListPage : public RecordEditPage<typename Table::Record> {
protected:
    using Record = typename Table::Record;
    using Row = RecordListPage::Row;

    SettingsListPage(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     const char* listName, std::span<const RecordListColumn> columns,
                     const char* explanation, QWidget* parent)
        : RecordEditPage<Record>(listName, columns, explanation, parent), m_context(context),
          m_deleteQuestion(deleteQuestion) {}

    // What "New" offers; a record with the table's defaults unless the page says otherwise.
    virtual Record newRecord() { return Record(); }

    bool editNew() override {
        Record record = newRecord();
        return edit(record);
    }

    bool editStored(int pk) override {
        auto record = Table::getByPk(m_context.database(), pk);
        return record && edit(*record);
    }

    bool confirmRemove() override {
        return confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
    }

    bool runDialog(Record& record) override {
        ItemDlg dialog(m_context, record, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        record = dialog.record();
        return true;
    }

    PatientSettingsContext& m_context;

private:
    bool edit(Record& record) {
        return this->runEditor(record) &&
               storeListed<Table>(m_context.database(), m_context.prompts(), record);
    }

    DeleteQuestion& m_deleteQuestion;
};
