#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The program's name: the caption of messages that name no operation.
inline constexpr const char* kProgramName = "Quillmarch";

// The windows the start-up and the patient commands need. The application core asks through
// this interface; the widgets implement it, and tests answer from a script.
class AppDialogs {
public:
    static constexpr const char* kFinalizingTitle = "Finalizing Setup!";
    static constexpr const char* kFinalizingText =
        "Quillmarch is setting up the patient for the first time.\n\nPlease wait.";

    virtual ~AppDialogs() = default;

    // The new patient's name (at most 35 characters), or nothing when cancelled.
    virtual std::optional<QString> askNewPatientName() = 0;
    // One patient chosen among (name, handheld user name) pairs, or nothing when cancelled.
    virtual std::optional<QString>
    chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) = 0;
    // Shows or hides the modeless "Finalizing Setup!" window.
    virtual void showFinalizing(bool shown) = 0;
};
