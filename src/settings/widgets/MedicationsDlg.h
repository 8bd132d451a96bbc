#pragma once

#include "settings/widgets/MedicationItemDlg.h"
#include "settings/widgets/SettingsListPage.h"

// The patient's medications and insulins with their code letters. Besides the list's own
// commands, the "Active" button and the right-click menu turn a medication's flags over.
class MedicationsDlg : public SettingsListPage<MedicationTable, MedicationItemDlg> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Medications";

    MedicationsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                   QWidget* parent = nullptr);

    QPushButton* activeButton() const { return m_active; }

    // Toggles the selected medication's flag, stores it and lists again.
    void toggleActive();
    void toggleIncludeInTotals();

protected:
    std::vector<Row> rows() override;
    bool removeStored(int pk) override;
    void extendContextMenu(QMenu& menu, int pk) override;

private:
    void toggle(bool includeInTotals);

    QPushButton* m_active = nullptr;
};
