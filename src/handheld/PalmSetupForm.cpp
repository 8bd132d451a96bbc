#include "handheld/PalmSetupForm.h"

#include "app/SettingsTree.h"
#include "ui/Prompts.h"

namespace {

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

PalmSetupForm::PalmSetupForm(PalmSupport& support, SettingsTree& settings, Prompts& prompts,
                             const QString& patient)
    : m_support(support), m_settings(settings), m_prompts(prompts), m_patient(patient) {}

void PalmSetupForm::readPairing() {
    m_pairedId = m_support.pairedId(m_patient);
    m_pairedName = m_settings.getUserString(m_patient, latin1(PalmSupport::kPalmUserNameValue));
}

bool PalmSetupForm::open() {
    m_pairedId.reset();
    m_pairedName.clear();
    if (m_settings.openUserKey(m_patient))
        readPairing();
    else
        m_prompts.error(latin1(kProgramCaption), latin1(kUnreadableKey));
    m_checked = isPaired();

    m_users = m_support.handheldUsersFor(m_patient);
    if (m_users.empty()) {
        m_prompts.information(latin1(kProgramCaption), latin1(kNoHandheldUsers));
        return false;
    }
    m_selected = -1;
    for (std::size_t row = 0; isPaired() && row < m_users.size(); ++row) {
        if (m_users[row].id == *m_pairedId) {
            m_selected = static_cast<int>(row);
            break;
        }
    }
    return true;
}

void PalmSetupForm::select(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_users.size()) ? row : -1;
}

bool PalmSetupForm::okEnabled() const {
    return !(m_checked && m_selected >= 0 && isPaired() &&
             m_users[static_cast<std::size_t>(m_selected)].id == *m_pairedId);
}

PalmSetupForm::Outcome PalmSetupForm::report(bool paired) {
    if (!paired) {
        m_prompts.error(latin1(kProgramCaption), latin1(kSetupFailed));
        return Outcome::Stay;
    }
    m_prompts.information(latin1(kProgramCaption), latin1(kSyncReminder));
    return Outcome::Close;
}

PalmSetupForm::Outcome PalmSetupForm::refresh() {
    if (!isPaired())
        return Outcome::Stay;
    const bool paired = m_support.pairPatient(m_patient, *m_pairedId);
    readPairing();
    return report(paired);
}

PalmSetupForm::Outcome PalmSetupForm::ok() {
    if (!m_checked) {
        if (isPaired())
            m_support.unpairPatient(m_patient, *m_pairedId);
        return Outcome::Close;
    }
    if (m_selected < 0) {
        m_prompts.information(latin1(kProgramCaption), latin1(kNoSelection));
        return Outcome::Stay;
    }
    const PalmSupport::HandheldUser chosen = m_users[static_cast<std::size_t>(m_selected)];
    // A patient is paired with one handheld user at a time: the old one's queued file goes.
    if (isPaired() && *m_pairedId != chosen.id)
        m_support.unpairPatient(m_patient, *m_pairedId);
    const bool paired = m_support.pairPatient(m_patient, chosen.id);
    // What the settings hold now, however far the pairing got.
    readPairing();
    return report(paired);
}
