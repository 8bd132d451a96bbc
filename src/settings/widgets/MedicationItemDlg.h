#pragma once

#include "storage/Medication.h"

#include <QDialog>

class LogbookContext;
class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class StoredDateEdit;
class QSpinBox;

// Edits one medication on its own copy. The code list offers only the letters no other
// medication uses; OK needs a name and a code.
class MedicationItemDlg : public QDialog {
    Q_OBJECT
public:
    MedicationItemDlg(LogbookContext& context, const Medication& medication,
                      QWidget* parent = nullptr);

    const Medication& record() const { return m_record; }

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* codeBox() const { return m_code; }
    QCheckBox* activeBox() const { return m_active; }
    QCheckBox* includeBox() const { return m_include; }
    QCheckBox* insulinBox() const { return m_insulin; }
    QLineEdit* rxEdit() const { return m_rx; }
    QComboBox* incrementBox() const { return m_increment; }
    StoredDateEdit* openedPicker() const { return m_opened; }
    QSpinBox* expireDaysBox() const { return m_expireDays; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    Prompts& m_prompts;
    Medication m_record;
    QLineEdit* m_name = nullptr;
    QComboBox* m_code = nullptr;
    QCheckBox* m_active = nullptr;
    QCheckBox* m_include = nullptr;
    QCheckBox* m_insulin = nullptr;
    QLineEdit* m_rx = nullptr;
    QComboBox* m_increment = nullptr;
    StoredDateEdit* m_opened = nullptr;
    QSpinBox* m_expireDays = nullptr;
    QPushButton* m_ok = nullptr;
};
