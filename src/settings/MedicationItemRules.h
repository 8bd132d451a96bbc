#pragma once

#include <optional>

class MedicationAbs;
class Prompts;

// What the medication item dialog may store. A medication is chosen in every list by its
// name and written into dosage lists by its code; one without either would be a blank row
// that no dose can name, so both are required.
class MedicationItemRules {
public:
    static constexpr const char* kNoName = "Please enter a name for the medication.";
    static constexpr const char* kNoCode = "Please choose a code letter for the medication.";

    enum class Field { Name, Code };

    // Nothing when the medication may be stored; otherwise the patient has been told and the
    // answer is the field to correct.
    static std::optional<Field> check(Prompts& prompts, const MedicationAbs& medication);
};
