#include "settings/widgets/PrefBasil.h"

#include "storage/PreferenceTable.h"

namespace {

constexpr RecordListColumn kColumns[] = {{"Time of Day", 170, false}, {"Basil Amount", 100, false}};

} // namespace

PrefBasil::PrefBasil(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                     QWidget* parent)
    : SettingsListPage(context, deleteQuestion, "1128", kColumns,
                       SettingsListText::kBasalExplanation, parent) {
    fill();
}

std::vector<RecordListPage::Row> PrefBasil::rows() {
    std::vector<Row> listed;
    const bool military = m_context.preference().getMilitaryTimeBol();
    for (const auto& rate : listedBasalRates(m_context.database()))
        listed.push_back({rate->getPk(), basalCells(*rate, m_context.clock(), military)});
    return listed;
}

bool PrefBasil::removeStored(int pk) {
    return removeBasalRate(m_context.database(), m_context.prompts(), pk);
}
