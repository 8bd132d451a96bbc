#pragma once

#include "handheld/PalmSupport.h"

#include <QString>
#include <optional>
#include <vector>

class Prompts;
class SettingsTree;

// The rules of the "Palm Setup" dialog, without widgets: which handheld users are offered,
// what is enabled, and what OK and Refresh do to the patient's pairing.
class PalmSetupForm {
public:
    static constexpr const char* kUnreadableKey = "Unable to read User key from the registry";
    static constexpr const char* kNoHandheldUsers =
        "All Palm users are already setup.\nIf you are setting up a new Palm User\nyou must "
        "synchronize that user first.";
    static constexpr const char* kNoSelection = "Please Select and Palm User";
    static constexpr const char* kSyncReminder =
        "You must synchronzie your Palm for these changes to take effect.\r\n\r\nIf this is "
        "your first sync you will need to sync twice.\r\nOnce to install the application and "
        "once to sync the data";
    static constexpr const char* kSetupFailed = "Palm setup failed";

    // What the dialog does after a button.
    enum class Outcome { Stay, Close };

    PalmSetupForm(PalmSupport& support, SettingsTree& settings, Prompts& prompts,
                  const QString& patient);

    // Reads the patient's pairing and fills the list; false when there is nobody to offer
    // (the dialog then closes as cancelled).
    bool open();

    const std::vector<PalmSupport::HandheldUser>& handheldUsers() const { return m_users; }
    bool isPaired() const { return m_pairedId.has_value(); }
    std::optional<HandheldUserId> pairedId() const { return m_pairedId; }
    const QString& pairedName() const { return m_pairedName; }

    bool isChecked() const { return m_checked; }
    void setChecked(bool checked) { m_checked = checked; }
    // The row of handheldUsers() chosen, or -1.
    int selected() const { return m_selected; }
    void select(int row);

    bool listEnabled() const { return m_checked; }
    // Nothing would change when the paired user is chosen again.
    bool okEnabled() const;
    bool refreshEnabled() const { return isPaired() && !okEnabled(); }

    // Pairs the patient again with the user it is paired with.
    Outcome refresh();
    Outcome ok();

private:
    void readPairing();
    // The reminder on success, "Palm setup failed" otherwise.
    Outcome report(bool paired);

    PalmSupport& m_support;
    SettingsTree& m_settings;
    Prompts& m_prompts;
    QString m_patient;
    std::vector<PalmSupport::HandheldUser> m_users;
    std::optional<HandheldUserId> m_pairedId;
    QString m_pairedName;
    bool m_checked = false;
    int m_selected = -1;
};
