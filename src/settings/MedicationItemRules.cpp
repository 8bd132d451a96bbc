#include "settings/MedicationItemRules.h"

#include "storage/Medication.h"
#include "ui/Prompts.h"

std::optional<MedicationItemRules::Field>
MedicationItemRules::check(Prompts& prompts, const MedicationAbs& medication) {
    std::optional<Field> refused;
    const char* message = nullptr;
    // A name of spaces alone lists as blank as an empty one.
    if (medication.getMedDesc().trimmed().isEmpty()) {
        refused = Field::Name;
        message = kNoName;
    } else if (medication.getMedCode().trimmed().isEmpty()) {
        refused = Field::Code;
        message = kNoCode;
    }
    if (refused)
        prompts.information(QString::fromLatin1(kProgramCaption), QString::fromLatin1(message));
    return refused;
}
