#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TimePicker;
class VitalsForm;

// "Vitals": edits one vital record on its form. OK checks the form and stays open on a
// refusal, with the field to correct focused; the caller stores what was accepted.
class VitalsItemDlg : public QDialog {
    Q_OBJECT
public:
    VitalsItemDlg(VitalsForm& form, QWidget* parent = nullptr);

    QDateEdit* datePicker() const { return m_date; }
    TimePicker* timePicker() const { return m_time; }
    QLineEdit* systolicEdit() const { return m_systolic; }
    QLineEdit* diastolicEdit() const { return m_diastolic; }
    QLineEdit* pulseEdit() const { return m_pulse; }
    QLineEdit* weightEdit() const { return m_weight; }
    QPlainTextEdit* notesEdit() const { return m_notes; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    VitalsForm& m_form;
    QDateEdit* m_date = nullptr;
    TimePicker* m_time = nullptr;
    QLineEdit* m_systolic = nullptr;
    QLineEdit* m_diastolic = nullptr;
    QLineEdit* m_pulse = nullptr;
    QLineEdit* m_weight = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_notesEdited = false;
};
