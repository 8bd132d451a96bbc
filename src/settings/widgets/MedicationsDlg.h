#pragma once

#include "storage/Medication.h"
#include "ui/widgets/RecordListPage.h"

class DeleteQuestion;
class PatientSettingsContext;

// The patient's medications and insulins with their code letters. Besides the list's own
// commands, the "Active" button and the right-click menu turn a medication's flags over.
class MedicationsDlg : public RecordEditPage<Medication> {
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
    bool editNew() override;
    bool editStored(int pk) override;
    bool removeStored(int pk) override;
    bool confirmRemove() override;
    void extendContextMenu(QMenu& menu, int pk) override;
    bool runDialog(Medication& medication) override;

private:
    bool edit(Medication& medication);
    void toggle(bool includeInTotals);

    PatientSettingsContext& m_context;
    DeleteQuestion& m_deleteQuestion;
    QPushButton* m_active = nullptr;
};
