#pragma once

#include <QDialog>

class FoodForm;
class QLineEdit;
class QPushButton;

// "Foods": edits one food on its form. OK checks the form and stays open on a refusal, with
// the field to correct focused; the caller stores what was accepted.
class FoodItemDlg : public QDialog {
    Q_OBJECT
public:
    FoodItemDlg(FoodForm& form, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* carbsEdit() const { return m_carbs; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    FoodForm& m_form;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_carbs = nullptr;
    QPushButton* m_ok = nullptr;
};
