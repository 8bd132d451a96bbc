#include "app/UpdateCheck.h"

#include "app/SettingsTree.h"
#include "app/UpdateRequest.h"
#include "storage/Clock.h"
#include "storage/Conversions.h"
#include "ui/Prompts.h"

UpdateCheck::UpdateCheck(SettingsTree& settings, const Clock& clock, QObject* parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_request(new UpdateRequest(this)) {
    connect(m_request, &UpdateRequest::finished, this, &UpdateCheck::requestFinished);
}

UpdateCheck::~UpdateCheck() = default;

QString UpdateCheck::serverAddress() const {
    if (!m_serverOverride.trimmed().isEmpty())
        return m_serverOverride.trimmed();
    const QString stored = m_settings.getAppString(QLatin1String(kServerValue)).trimmed();
    return stored.isEmpty() ? QLatin1String(kDefaultServer) : stored;
}

void UpdateCheck::setTimeout(int milliseconds) {
    m_request->setTimeout(milliseconds);
}

bool UpdateCheck::start(const QString& runningVersion) {
    if (m_request->isRunning())
        return false;
    m_runningVersion = runningVersion;
    return m_request->start(serverAddress(), runningVersion);
}

bool UpdateCheck::isRunning() const {
    return m_request->isRunning();
}

void UpdateCheck::requestFinished(bool answered, const QString& body) {
    if (!answered) {
        // Nothing is remembered: the check has not been made.
        emit finished(Outcome::Unreachable, UpdateFinding{});
        return;
    }
    m_settings.setAppString(QLatin1String(kCheckDateValue), toDateText(m_clock.now()));
    const UpdateFinding finding = evaluateUpdateAnswer(body, m_runningVersion);
    emit finished(finding.available ? Outcome::Available : Outcome::Current, finding);
}

std::optional<long long> UpdateCheck::daysSinceLastCheck() const {
    const QString stored = m_settings.getAppString(QLatin1String(kCheckDateValue));
    if (stored.size() < 8)
        return std::nullopt;
    std::time_t midnight = 0;
    try {
        midnight = fromDateText(stored);
    } catch (const InvalidDateText&) {
        // A date nobody can read tells no more than a missing one.
        return std::nullopt;
    }
    const long long seconds = static_cast<long long>(m_clock.now()) - midnight;
    return seconds / 86400;
}

bool UpdateCheck::reminderDue() const {
    const std::optional<long long> days = daysSinceLastCheck();
    if (!days)
        return true;
    return *days >= kReminderDays;
}

bool UpdateCheck::askToCheck(Prompts& prompts) const {
    return reminderDue() &&
           prompts.askYesNo(QLatin1String(kReminderCaption), QLatin1String(kReminderText));
}
