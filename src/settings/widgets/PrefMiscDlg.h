#pragma once

#include "settings/PreferenceStore.h"
#include "ui/widgets/PropertySheet.h"

class PatientSettingsContext;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The Miscellaneous page: clock style, delete confirmation, how long log entries are kept,
// the glucose unit and the default delivery, from the application's preference record.
class PrefMiscDlg : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Miscellaneous";

    explicit PrefMiscDlg(PatientSettingsContext& context, QWidget* parent = nullptr);

    // The retention must be a whole number of days in range; otherwise the patient is told
    // and the field keeps the focus.
    bool validate() override;
    bool apply() override;

    // The values as of the last apply (as read when nothing was applied yet).
    MiscFields fields() const { return m_fields; }

    QCheckBox* militaryBox() const { return m_military; }
    QCheckBox* askDeleteBox() const { return m_askDelete; }
    QLineEdit* retentionEdit() const { return m_retention; }
    QRadioButton* mgDlButton() const { return m_mgDl; }
    QRadioButton* mmolButton() const { return m_mmol; }
    QComboBox* deliveryBox() const { return m_delivery; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    PatientSettingsContext& m_context;
    MiscFields m_fields;
    // Changes only when the patient picks a delivery, so a stored code none of the choices
    // carries is kept.
    int m_deliveryCode = 0;
    // Only a box the patient changed is stored; otherwise the record keeps its own value.
    bool m_askDeleteTouched = false;
    QCheckBox* m_military = nullptr;
    QCheckBox* m_askDelete = nullptr;
    QLineEdit* m_retention = nullptr;
    QButtonGroup* m_unit = nullptr;
    QRadioButton* m_mgDl = nullptr;
    QRadioButton* m_mmol = nullptr;
    QComboBox* m_delivery = nullptr;
};
