#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// Asks for a new patient's name; OK stays disabled while the name is empty.
class NewPatientDialog : public QDialog {
    Q_OBJECT

public:
    explicit NewPatientDialog(QWidget* parent = nullptr);

    QString name() const;
    QLineEdit* nameEdit() const { return m_name; }
    QPushButton* okButton() const { return m_ok; }

public slots:
    void accept() override;

private:
    void updateOk();

    QLineEdit* m_name;
    QPushButton* m_ok = nullptr;
};
