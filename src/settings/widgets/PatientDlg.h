#pragma once

#include "settings/PreferenceRules.h"
#include "settings/PreferenceStore.h"
#include "ui/widgets/PropertySheet.h"

class PatientSettingsContext;
class QLabel;
class QLineEdit;
class StoredDateEdit;

// The Patient page: the patient's and the physician's particulars from the stored preference
// row, and where the patient's database lives.
class PatientDlg : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Patient";

    explicit PatientDlg(PatientSettingsContext& context, QWidget* parent = nullptr);

    // The name must be given and must not be another patient's: it keys the patient's own
    // settings. A refused name is reported and keeps the focus.
    bool validate() override;
    bool apply() override;

    // The values as of the last apply (as read when nothing was applied yet).
    PatientFields fields() const { return m_fields; }

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* doctorEdit() const { return m_doctor; }
    QLineEdit* phoneEdit() const { return m_phone; }
    QLineEdit* faxEdit() const { return m_fax; }
    StoredDateEdit* birthDateEdit() const { return m_birth; }
    StoredDateEdit* dxDateEdit() const { return m_dx; }
    QLabel* databaseLabel() const { return m_database; }

private:
    StoredDateEdit* dateEdit(const char* id, const QString& stored);

    PatientSettingsContext& m_context;
    PatientFields m_fields;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_doctor = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_fax = nullptr;
    StoredDateEdit* m_birth = nullptr;
    StoredDateEdit* m_dx = nullptr;
    QLabel* m_database = nullptr;
};
