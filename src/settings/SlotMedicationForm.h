#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class Database;

// An item of a slot medication list: an active medication's MED_DESC and the first letter
// of its MED_CODE, or the closing "N/A", whose code is NUL.
struct SlotMedicationChoice {
    QString name;
    QChar code;
};

// One dose row of the slot medication dialog: the chosen item and the amount text. The
// amount can be typed into exactly when it is not empty.
struct SlotMedicationRow {
    int choice = 0;
    QString amount;
    bool amountEnabled() const { return !amount.isEmpty(); }
};

// A slot's usual medication as up to three doses, without widgets: the rows the dialog shows,
// how a row follows its list, the check made on OK and the dosage text that results.
class SlotMedicationForm {
public:
    static constexpr int kRowCount = 3;
    static constexpr const char* kTitle = "Medication";
    static constexpr const char* kNotApplicable = "N/A";
    static constexpr const char* kInvalidDosage = "Invalid Dosage";
    // A slot's medication holds 15 characters; cutting a longer one would offer other doses
    // than those entered, so it is refused instead.
    static constexpr const char* kTooLong =
        "These doses do not fit in one log type (15 characters at most). Please enter fewer "
        "doses or shorter amounts.";
    // What a row starts with when a medication is chosen for it.
    static constexpr const char* kStartAmount = "0.0";

    // The active medications in the order of their names.
    static std::vector<SlotMedicationChoice> activeMedications(Database& db);

    // Lists of the given medications followed by "N/A", with the slot's doses placed into
    // the rows and each row brought into line with its list.
    SlotMedicationForm(std::vector<SlotMedicationChoice> medications, const QString& slotName,
                       const QString& medication);

    QString title() const;
    const std::vector<SlotMedicationChoice>& choices() const { return m_choices; }
    int notApplicableIndex() const { return static_cast<int>(m_choices.size()) - 1; }
    const SlotMedicationRow& row(int r) const { return m_rows.at(static_cast<size_t>(r)); }
    bool choosesMedication(int r) const { return row(r).choice != notApplicableIndex(); }

    // A choice in a row's list: "N/A" empties the amount, a medication fills an empty
    // amount with "0.0".
    void choose(int r, int choice);
    void setAmount(int r, const QString& amount) { at(r).amount = amount; }

    // The first row that chooses a medication without a valid amount, or nothing.
    std::optional<int> invalidRow() const;
    // The doses of the rows that choose a medication and have an amount, in row order.
    QString result() const;
    // Whether the result can be stored whole.
    bool resultFits() const;

private:
    SlotMedicationRow& at(int r) { return m_rows.at(static_cast<size_t>(r)); }
    void bringIntoLine(int r);

    std::vector<SlotMedicationChoice> m_choices;
    QString m_slotName;
    std::array<SlotMedicationRow, kRowCount> m_rows;
};
