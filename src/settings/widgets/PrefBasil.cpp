#include "settings/widgets/PrefBasil.h"

#include "logbook/DeleteConfirmation.h"
#include "settings/PatientSettingsContext.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/BasilDetailDlg.h"
#include "storage/PreferenceTable.h"

namespace {

constexpr RecordListColumn kColumns[] = {{"Time of Day", 170, false}, {"Basil Amount", 100, false}};

} // namespace

PrefBasil::PrefBasil(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent)
    : RecordEditPage("1128", kColumns, SettingsListText::kBasalExplanation, parent),
      m_context(context), m_deleteQuestion(deleteQuestion) {
    fill();
}

std::vector<RecordListPage::Row> PrefBasil::rows() {
    std::vector<Row> listed;
    const bool military = m_context.preference().getMilitaryTimeBol();
    for (const auto& rate : listedBasalRates(m_context.database()))
        listed.push_back({rate->getPk(), basalCells(*rate, m_context.clock(), military)});
    return listed;
}

bool PrefBasil::editNew() {
    BasilRate rate;
    return edit(rate);
}

bool PrefBasil::editStored(int pk) {
    auto rate = BasilRateTable::getByPk(m_context.database(), pk);
    return rate && edit(*rate);
}

bool PrefBasil::edit(BasilRate& rate) {
    return runEditor(rate) &&
           storeListed<BasilRateTable>(m_context.database(), m_context.prompts(), rate);
}

bool PrefBasil::runDialog(BasilRate& rate) {
    BasilDetailDlg dialog(m_context, rate, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rate = dialog.record();
    return true;
}

bool PrefBasil::removeStored(int pk) {
    return removeBasalRate(m_context.database(), m_context.prompts(), pk);
}

bool PrefBasil::confirmRemove() {
    return confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
}
