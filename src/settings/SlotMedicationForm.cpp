#include "settings/SlotMedicationForm.h"

#include "settings/SettingsLists.h"
#include "storage/Conversions.h"
#include "storage/SampleType.h"

std::vector<SlotMedicationChoice> SlotMedicationForm::activeMedications(Database& db) {
    std::vector<SlotMedicationChoice> choices;
    for (const auto& medication : listedMedications(db)) {
        if (!medication->getActiveBol())
            continue;
        const QString& code = medication->getMedCode();
        choices.push_back({medication->getMedDesc(), code.isEmpty() ? QChar() : code.at(0)});
    }
    return choices;
}

SlotMedicationForm::SlotMedicationForm(std::vector<SlotMedicationChoice> medications,
                                       const QString& slotName, const QString& medication)
    : m_choices(std::move(medications)), m_slotName(slotName) {
    m_choices.push_back({QString::fromLatin1(kNotApplicable), QChar()});
    for (SlotMedicationRow& row : m_rows)
        row.choice = notApplicableIndex();
    const std::vector<DosageEntry> doses = splitDosage(medication, kRowCount);
    for (size_t r = 0; r < doses.size() && r < m_rows.size(); ++r) {
        m_rows[r].amount = doses[r].amount;
        for (int c = 0; c < static_cast<int>(m_choices.size()); ++c) {
            if (m_choices[static_cast<size_t>(c)].code == doses[r].code) {
                m_rows[r].choice = c;
                break;
            }
        }
    }
    for (int r = 0; r < kRowCount; ++r)
        bringIntoLine(r);
}

QString SlotMedicationForm::title() const {
    return QString::fromLatin1(kTitle) + QStringLiteral(" for ") + m_slotName;
}

void SlotMedicationForm::choose(int r, int choice) {
    if (choice < 0 || choice > notApplicableIndex())
        return;
    at(r).choice = choice;
    bringIntoLine(r);
}

void SlotMedicationForm::bringIntoLine(int r) {
    SlotMedicationRow& row = at(r);
    if (!choosesMedication(r))
        row.amount.clear();
    else if (row.amount.isEmpty())
        row.amount = QString::fromLatin1(kStartAmount);
}

std::optional<int> SlotMedicationForm::invalidRow() const {
    for (int r = 0; r < kRowCount; ++r)
        if (choosesMedication(r) && !isValidDosageAmount(row(r).amount))
            return r;
    return std::nullopt;
}

QString SlotMedicationForm::result() const {
    std::vector<DosageEntry> doses;
    for (int r = 0; r < kRowCount; ++r) {
        if (!choosesMedication(r) || row(r).amount.isEmpty())
            continue;
        doses.push_back({m_choices[static_cast<size_t>(row(r).choice)].code, row(r).amount});
    }
    return composeDosage(doses);
}

bool SlotMedicationForm::resultFits() const {
    return result().size() <= SampleType::kMedicationDosageWidth;
}
