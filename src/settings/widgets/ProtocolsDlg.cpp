#include "settings/widgets/ProtocolsDlg.h"

#include "logbook/DeleteConfirmation.h"
#include "settings/PatientSettingsContext.h"
#include "settings/SettingsLists.h"
#include "settings/widgets/ProtocolDlg.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr RecordListColumn kColumns[] = {{"Effective Date", 150, false}};

} // namespace

ProtocolsDlg::ProtocolsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                           QWidget* parent)
    : RecordEditPage("1089", kColumns, nullptr, parent), m_context(context),
      m_deleteQuestion(deleteQuestion) {
    fill();
}

std::vector<RecordListPage::Row> ProtocolsDlg::rows() {
    std::vector<Row> listed;
    for (const auto& protocol : listedProtocols(m_context.database()))
        listed.push_back({protocol->getPk(), protocolCells(*protocol)});
    return listed;
}

bool ProtocolsDlg::editNew() {
    Protocol protocol = newProtocol(m_context.clock());
    return edit(protocol);
}

bool ProtocolsDlg::editStored(int pk) {
    auto protocol = ProtocolTable::getByPk(m_context.database(), pk);
    return protocol && edit(*protocol);
}

bool ProtocolsDlg::edit(Protocol& protocol) {
    return runEditor(protocol) &&
           storeListed<ProtocolTable>(m_context.database(), m_context.prompts(), protocol);
}

bool ProtocolsDlg::runDialog(Protocol& protocol) {
    ProtocolDlg dialog(m_context, protocol, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    protocol = dialog.record();
    return true;
}

bool ProtocolsDlg::removable() const {
    return protocolsRemovable(list()->topLevelItemCount());
}

bool ProtocolsDlg::confirmRemove() {
    // The button is off below two protocols; the check holds for any other way in as well.
    return removable() &&
           confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
}

bool ProtocolsDlg::removeStored(int pk) {
    return removeProtocol(m_context.database(), m_context.prompts(), pk);
}

void ProtocolsDlg::filled() {
    removeButton()->setEnabled(removable());
}
