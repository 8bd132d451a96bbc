#include "settings/widgets/MedicationsDlg.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr RecordListColumn kColumns[] = {{"Name", 150, false},    {"A", 20, true},
                                         {"I", 20, true},         {"Code", 75, true},
                                         {"Exp. Days", 75, true}, {"Rx Number", 140, false}};

} // namespace

MedicationsDlg::MedicationsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                               QWidget* parent)
    : SettingsListPage(context, deleteQuestion, "1006", kColumns, nullptr, parent) {
    m_active = new QPushButton(QStringLiteral("Active"), this);
    m_active->setObjectName(QStringLiteral("1062"));
    // Beside the three list buttons, before the stretch that closes the row.
    buttonRow()->insertWidget(3, m_active);
    connect(m_active, &QPushButton::clicked, this, &MedicationsDlg::toggleActive);
    enableContextMenu();
    fill();
}

void MedicationsDlg::toggleActive() {
    toggle(false);
}

void MedicationsDlg::toggleIncludeInTotals() {
    toggle(true);
}

void MedicationsDlg::toggle(bool includeInTotals) {
    const int pk = selectedKey();
    if (pk == 0)
        return;
    stored(toggleMedicationFlag(m_context.database(), m_context.prompts(), pk,
                                includeInTotals ? MedicationFlag::IncludeInTotals
                                                : MedicationFlag::Active));
}

std::vector<RecordListPage::Row> MedicationsDlg::rows() {
    std::vector<Row> listed;
    for (const auto& medication : listedMedications(m_context.database()))
        listed.push_back({medication->getPk(), medicationCells(*medication, m_context.clock())});
    return listed;
}

bool MedicationsDlg::removeStored(int pk) {
    return removeMedication(m_context.database(), m_context.prompts(), pk);
}

void MedicationsDlg::extendContextMenu(QMenu& menu, int pk) {
    auto medication = MedicationTable::getByPk(m_context.database(), pk);
    menu.addSeparator();
    QAction* active = menu.addAction(QStringLiteral("Active"));
    active->setCheckable(true);
    active->setChecked(medication && medication->getActiveBol());
    connect(active, &QAction::triggered, this, &MedicationsDlg::toggleActive);
    QAction* include = menu.addAction(QStringLiteral("Include In Totals"));
    include->setCheckable(true);
    include->setChecked(medication && medication->getIncludeInTotalsBol());
    connect(include, &QAction::triggered, this, &MedicationsDlg::toggleIncludeInTotals);
}
