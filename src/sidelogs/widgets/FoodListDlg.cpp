#include "sidelogs/widgets/FoodListDlg.h"

#include "sidelogs/FoodForm.h"
#include "sidelogs/FoodLog.h"
#include "sidelogs/widgets/FoodItemDlg.h"
#include "sidelogs/widgets/SideLogListPage.h"

#include <QPushButton>

namespace {

constexpr RecordListColumn kColumns[] = {
    {"Description", RecordListColumn::kRemainingWidth, false},
    {"Carb Count", 80, false, true},
    {"", 20, false},
};

using FoodPage = SideLogListPage<FoodLog, FoodForm, FoodItemDlg>;

} // namespace

FoodListDlg::FoodListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent)
    : SideLogListDlg(QStringLiteral("Foods"), parent) {
    auto* list = new FoodPage(context, deleteQuestion, kColumns, this);
    list->removeButton()->setText(QStringLiteral("Delete"));
    list->allowSeveralSelected();
    setPage(list, false);
    list->fill();
    resize(420, 400);
}

void editFoodLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent) {
    FoodListDlg dialog(context, deleteQuestion, parent);
    dialog.exec();
}
