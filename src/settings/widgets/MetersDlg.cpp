#include "settings/widgets/MetersDlg.h"

#include "logbook/DeleteConfirmation.h"
#include "settings/PatientSettingsContext.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/MeterDlg.h"

namespace {

// The narrow untitled column is room for marking one meter; no meter is marked.
constexpr RecordListColumn kColumns[] = {
    {"Name", 150, false}, {"", 20, false}, {"Model", 150, false}, {"Manufacturer", 100, false}};

} // namespace

MetersDlg::MetersDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent)
    : RecordEditPage("1006", kColumns, nullptr, parent), m_context(context),
      m_deleteQuestion(deleteQuestion) {
    enableContextMenu();
    fill();
}

std::vector<RecordListPage::Row> MetersDlg::rows() {
    std::vector<Row> listed;
    for (const auto& meter : listedMeters(m_context.database()))
        listed.push_back({meter->getPk(), meterCells(*meter)});
    return listed;
}

bool MetersDlg::editNew() {
    Meter meter;
    return edit(meter);
}

bool MetersDlg::editStored(int pk) {
    auto meter = MeterTable::getByPk(m_context.database(), pk);
    return meter && edit(*meter);
}

bool MetersDlg::edit(Meter& meter) {
    return runEditor(meter) &&
           storeListed<MeterTable>(m_context.database(), m_context.prompts(), meter);
}

bool MetersDlg::runDialog(Meter& meter) {
    MeterDlg dialog(m_context, meter, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    meter = dialog.record();
    return true;
}

bool MetersDlg::removeStored(int pk) {
    return removeMeter(m_context.database(), m_context.prompts(), pk);
}

bool MetersDlg::confirmRemove() {
    return confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
}
