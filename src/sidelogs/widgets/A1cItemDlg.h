#pragma once

#include <QDialog>

class A1cForm;
class QDateEdit;
class QLineEdit;
class QPushButton;

// "Hemoglobin A1c": edits one result on its form. OK checks the form and stays open on a
// refusal; the caller stores what was accepted.
class A1cItemDlg : public QDialog {
    Q_OBJECT
public:
    A1cItemDlg(A1cForm& form, QWidget* parent = nullptr);

    QDateEdit* datePicker() const { return m_date; }
    QLineEdit* countEdit() const { return m_count; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    A1cForm& m_form;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_count = nullptr;
    QPushButton* m_ok = nullptr;
};
