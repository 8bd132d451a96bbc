#include "settings/widgets/MetersDlg.h"

namespace {

// The narrow untitled column is room for marking one meter; no meter is marked.
constexpr RecordListColumn kColumns[] = {
    {"Name", 150, false}, {"", 20, false}, {"Model", 150, false}, {"Manufacturer", 100, false}};

} // namespace

MetersDlg::MetersDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent)
    : SettingsListPage(context, deleteQuestion, "1006", kColumns, nullptr, parent) {
    enableContextMenu();
    fill();
}

std::vector<RecordListPage::Row> MetersDlg::rows() {
    std::vector<Row> listed;
    for (const auto& meter : listedMeters(m_context.database()))
        listed.push_back({meter->getPk(), meterCells(*meter)});
    return listed;
}

bool MetersDlg::removeStored(int pk) {
    return removeMeter(m_context.database(), m_context.prompts(), pk);
}
