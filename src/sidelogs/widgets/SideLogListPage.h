#pragma once

#include "logbook/DeleteConfirmation.h"
#include "logbook/LogbookContext.h"
#include "ui/widgets/RecordListPage.h"
#include "ui/widgets/WaitCursor.h"

#include <QHBoxLayout>

// The list of one side log with New, Modify and Delete (or Remove). `Log` reads the rows and
// removes records (rows(db), remove(db, prompts, pk)); `Form` is the item editor without
// widgets (built on the context, load(pk), store() answering the stored key) and `ItemDlg`
// the dialog that edits a form (built on the form and a parent; OK checks the form). A
// confirmed item is stored at once and selected in the list read again.
template <class Log, class Form, class ItemDlg> class SideLogListPage : public RecordListPage {
public:
    SideLogListPage(LogbookContext& context, DeleteQuestion& deleteQuestion,
                    std::span<const RecordListColumn> columns, QWidget* parent)
        : RecordListPage("list", columns, nullptr, parent), m_context(context),
          m_deleteQuestion(deleteQuestion) {}

    // Where the list dialog puts its own buttons, beside the page's.
    using RecordListPage::allowSeveralSelected;
    using RecordListPage::buttonRow;

protected:
    std::vector<Row> rows() override {
        WaitCursor wait;
        std::vector<Row> listed;
        for (auto& row : Log::rows(m_context.database()))
            listed.push_back({row.pk, std::move(row.cells)});
        return listed;
    }

    bool editNew() override {
        Form form(m_context);
        return edit(form);
    }

    bool editStored(int pk) override {
        Form form(m_context);
        return form.load(pk) && edit(form);
    }

    bool removeStored(int pk) override {
        return Log::remove(m_context.database(), m_context.prompts(), pk);
    }

    bool confirmRemove() override {
        return confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
    }

private:
    bool edit(Form& form) {
        ItemDlg dialog(form, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const int pk = form.store();
        selectAfterFill(pk);
        return pk != 0;
    }

    LogbookContext& m_context;
    DeleteQuestion& m_deleteQuestion;
};
