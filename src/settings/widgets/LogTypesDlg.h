#pragma once

#include "settings/SlotSchedule.h"
#include "ui/widgets/PropertySheet.h"

#include <array>
#include <functional>
#include <optional>

class PatientSettingsContext;
class QLineEdit;
class QPushButton;
class QTimeEdit;

// The Log Types page: the names, start times and usual medications of the eight
// time-of-day slots. The sheet stores the slots (store()) after OK and on Apply.
class LogTypesDlg : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Log Types";
    static constexpr int kSlotCount = SlotSchedule::kSlotCount;

    // How a slot's medication is edited: given the slot's name and medication, the new
    // medication, or nothing when the patient cancelled. The medication dialog unless a
    // test puts something else in.
    using MedicationEditor =
        std::function<std::optional<QString>(const QString& slotName, const QString& medication)>;

    explicit LogTypesDlg(PatientSettingsContext& context, QWidget* parent = nullptr);

    void setMedicationEditor(MedicationEditor editor) { m_editor = std::move(editor); }

    QLineEdit* nameEdit(int slot) const { return m_names.at(static_cast<size_t>(slot)); }
    QTimeEdit* timePicker(int slot) const { return m_pickers.at(static_cast<size_t>(slot)); }
    QPushButton* medicationButton(int slot) const {
        return m_buttons.at(static_cast<size_t>(slot));
    }
    const SlotSchedule& schedule() const { return m_schedule; }

    // A start time typed but not yet checked (the focus never left its picker) is checked
    // now; a refused one keeps the page open.
    bool validate() override;
    // Writes the slots that changed.
    void store();

    // Opens the medication editor for a slot (what its button does).
    void editMedication(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTime(int slot);
    // Whether the picker shows another time than the slot starts at.
    bool timePicked(int slot) const;
    // Checks the time shown in a slot's picker against its neighbours; a refused time is
    // reported, taken back and the picker gets the focus again.
    bool checkPickedTime(int slot);

    PatientSettingsContext& m_context;
    SlotSchedule m_schedule;
    MedicationEditor m_editor;
    std::array<QLineEdit*, kSlotCount> m_names{};
    std::array<QTimeEdit*, kSlotCount> m_pickers{};
    std::array<QPushButton*, kSlotCount> m_buttons{};
    // Set while a refusal is being reported, when focus moves about on its own.
    bool m_refusing = false;
};
