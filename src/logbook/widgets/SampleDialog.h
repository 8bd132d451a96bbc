#pragma once

#include "logbook/SampleForm.h"

#include <QDialog>
#include <array>
#include <ctime>

class LogbookContext;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

// The log entry editor. It shows the values of its SampleForm, hands every change back to it,
// and on OK lets it check and store; the dialog closes only once the entry is stored.
class SampleDialog : public QDialog {
    Q_OBJECT
public:
    SampleDialog(LogbookContext& context, const Sample& entry, const QString& initialNotes = {},
                 QWidget* parent = nullptr);

    SampleForm& form() { return m_form; }
    // Whether "OK and Add Another" closed the dialog.
    bool addAnother() const { return m_addAnother; }

    QDateEdit* dateEdit() const { return m_date; }
    QTimeEdit* timeEdit() const { return m_time; }
    QComboBox* slotList() const { return m_slot; }
    QLineEdit* glucoseEdit() const { return m_glucose; }
    QLineEdit* carbsEdit() const { return m_carbs; }
    QComboBox* ketoneList() const { return m_ketones; }
    QCheckBox* newSiteBox() const { return m_newSite; }
    // Rows 0 to 2 are the medication rows, row 3 the correction row.
    QComboBox* medicationList(int row) const { return m_medication.at(row); }
    QLineEdit* amountEdit(int row) const { return m_amount.at(row); }
    QTimeEdit* medicationTimeEdit() const { return m_medicationTime; }
    QComboBox* deliveryList() const { return m_delivery; }
    QPlainTextEdit* notesEdit() const { return m_notes; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* addAnotherButton() const { return m_okAndAdd; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void connectFields();
    void showValues();
    void showSlot();
    void showGlucose();
    void showRows();
    void onNotesChanged();
    void finish(bool addAnother);

    SampleForm m_form;
    bool m_addAnother = false;
    bool m_showing = false;
    bool m_notesEdited = false;

    QDateEdit* m_date = nullptr;
    QTimeEdit* m_time = nullptr;
    QComboBox* m_slot = nullptr;
    QLineEdit* m_glucose = nullptr;
    QLineEdit* m_carbs = nullptr;
    QComboBox* m_ketones = nullptr;
    QCheckBox* m_newSite = nullptr;
    std::array<QComboBox*, SampleForm::kRowCount> m_medication{};
    std::array<QLineEdit*, SampleForm::kRowCount> m_amount{};
    QTimeEdit* m_medicationTime = nullptr;
    QLabel* m_keptMedication = nullptr;
    QLabel* m_keptCorrection = nullptr;
    QComboBox* m_delivery = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_okAndAdd = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Edits an entry (a new one has PK 0 and its SAMPLE_TIME set) and returns the PK of the
// stored entry, or 0 when cancelled; the record then holds the stored values. After "OK and
// Add Another" a new entry at the same time is edited next, and its PK is the result when it
// is stored.
int editEntry(LogbookContext& context, Sample& entry, QWidget* parent,
              const QString& initialNotes = {});

// Edits a new entry at that moment.
int newEntryAt(LogbookContext& context, std::time_t when, QWidget* parent);
