#include "settings/widgets/ProtocolsDlg.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr RecordListColumn kColumns[] = {{"Effective Date", 150, false}};

} // namespace

ProtocolsDlg::ProtocolsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                           QWidget* parent)
    : SettingsListPage(context, deleteQuestion, "1089", kColumns, nullptr, parent) {
    fill();
}

std::vector<RecordListPage::Row> ProtocolsDlg::rows() {
    std::vector<Row> listed;
    for (const auto& protocol : listedProtocols(m_context.database()))
        listed.push_back({protocol->getPk(), protocolCells(*protocol)});
    return listed;
}

Protocol ProtocolsDlg::newRecord() {
    return newProtocol(m_context.clock());
}

bool ProtocolsDlg::removable() const {
    return protocolsRemovable(list()->topLevelItemCount());
}

bool ProtocolsDlg::confirmRemove() {
    // The button is off below two protocols; the check holds for any other way in as well.
    return removable() && SettingsListPage::confirmRemove();
}

bool ProtocolsDlg::removeStored(int pk) {
    return removeProtocol(m_context.database(), m_context.prompts(), pk);
}

void ProtocolsDlg::filled() {
    removeButton()->setEnabled(removable());
}
