#include "sidelogs/widgets/A1cListDlg.h"

#include "sidelogs/A1cForm.h"
#include "sidelogs/A1cLog.h"
#include "sidelogs/widgets/A1cItemDlg.h"
#include "sidelogs/widgets/SideLogListPage.h"

#include <QPushButton>

namespace {

constexpr RecordListColumn kColumns[] = {
    {"Date", 150, false},
    {"", 125, false},
    {"Count", RecordListColumn::kRemainingWidth, false, true},
    {"", 20, false},
};

using A1cPage = SideLogListPage<A1cLog, A1cForm, A1cItemDlg>;

} // namespace

A1cListDlg::A1cListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent)
    : SideLogListDlg(QStringLiteral("Hemoglobin A1c"), parent) {
    auto* list = new A1cPage(context, deleteQuestion, kColumns, this);
    list->removeButton()->setText(QStringLiteral("Delete"));
    list->allowSeveralSelected();
    setPage(list, false);
    list->fill();
    resize(460, 340);
}

void editA1cLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent) {
    A1cListDlg dialog(context, deleteQuestion, parent);
    dialog.exec();
}
