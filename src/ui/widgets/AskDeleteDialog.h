#pragma once

#include "ui/DeleteQuestion.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The question asked before every removal. It only reports the button and the check box;
// what "don't ask again" means is decided by whoever asks (confirmDelete).
class AskDeleteDialog : public QDialog, public DeleteQuestion {
    Q_OBJECT
public:
    explicit AskDeleteDialog(QWidget* parent = nullptr);

    // Runs the dialog modally with the check box ticked.
    DeleteAnswer ask() override;

    QLabel* messageLabel() const { return m_message; }
    QCheckBox* alwaysAskBox() const { return m_alwaysAsk; }
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

private:
    QLabel* m_message = nullptr;
    QCheckBox* m_alwaysAsk = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};
