#pragma once

#include <QDialog>

class PalmSetupForm;
class QCheckBox;
class QListWidget;
class QPushButton;

// "Palm Setup": pairs the current patient with one handheld user. The form holds the rules
// and has been opened (list filled) before the dialog is made.
class PalmSetupDlg : public QDialog {
    Q_OBJECT

public:
    explicit PalmSetupDlg(PalmSetupForm& form, QWidget* parent = nullptr);

    QCheckBox* enableBox() const { return m_enable; }
    QListWidget* list() const { return m_list; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* refreshButton() const { return m_refresh; }

public slots:
    void accept() override;

private:
    void refresh();
    // Brings the controls in line with the form.
    void syncControls();

    PalmSetupForm& m_form;
    QCheckBox* m_enable;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_refresh;
};
