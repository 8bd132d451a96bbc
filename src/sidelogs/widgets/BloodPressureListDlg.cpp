#include "sidelogs/widgets/BloodPressureListDlg.h"

#include "sidelogs/VitalsForm.h"
#include "sidelogs/VitalsLog.h"
#include "sidelogs/widgets/SideLogListPage.h"
#include "sidelogs/widgets/VitalsItemDlg.h"

namespace {

constexpr RecordListColumn kColumns[] = {
    {"Date/Time", 170, false}, {"Systolic", 65, true},
    {"Diastolic", 70, true},   {"Pulse", 60, true},
    {"Weight", 60, true},      {"Notes", RecordListColumn::kRemainingWidth, false},
};

using VitalsPage = SideLogListPage<VitalsLog, VitalsForm, VitalsItemDlg>;

} // namespace

BloodPressureListDlg::BloodPressureListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion,
                                           QWidget* parent)
    : SideLogListDlg(QStringLiteral("Vitals History"), parent) {
    auto* list = new VitalsPage(context, deleteQuestion, kColumns, this);
    setPage(list, true);
    list->fill();
    resize(680, 380);
}

void editVitalsLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent) {
    BloodPressureListDlg dialog(context, deleteQuestion, parent);
    dialog.exec();
}
