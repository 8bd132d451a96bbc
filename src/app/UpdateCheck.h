#pragma once

#include "app/UpdateEvaluation.h"

#include <QObject>
#include <QString>
#include <optional>

class Clock;
class Prompts;
class SettingsTree;
class UpdateRequest;

// The update check without a window: asks the update server for its version document,
// remembers the day of every check that got an answer ("VersionCheckDate") and tells whether
// the running version is the newest. The window's command and the command line both use it.
class UpdateCheck : public QObject {
    Q_OBJECT

public:
    // Root settings value holding the server's base address; the default is used when empty.
    static constexpr const char* kServerValue = "UpdateServer";
    static constexpr const char* kDefaultServer = "http://update.quillmarch.org";
    static constexpr const char* kCheckDateValue = "VersionCheckDate";
    // Days without a check after which the start-up asks for one.
    static constexpr int kReminderDays = 28;
    static constexpr const char* kReminderCaption = "Check for update";
    static constexpr const char* kReminderText =
        "You haven't checked for updates in over two weeks.\nWould you like to check now?";
    static constexpr const char* kUnreachableText = "Unable to connect to the server at this time";
    static constexpr const char* kCurrentText =
        "Your Quillmarch application is current and requires no updates!";

    enum class Outcome { Current, Available, Unreachable };

    UpdateCheck(SettingsTree& settings, const Clock& clock, QObject* parent = nullptr);
    ~UpdateCheck() override;

    // A base address that wins over the stored one (the command line's --update-server).
    void setServerOverride(const QString& baseAddress) { m_serverOverride = baseAddress; }
    // The override, else the stored "UpdateServer", else kDefaultServer.
    QString serverAddress() const;
    void setTimeout(int milliseconds);

    // Starts the check for the running version; false while one already runs.
    bool start(const QString& runningVersion);
    bool isRunning() const;

    // Whole days from midnight of the last check's date to now (truncated), or nothing when
    // no readable date of at least 8 characters is stored.
    std::optional<long long> daysSinceLastCheck() const;
    // No check is stored, or the last one is kReminderDays or more ago (a date in the future
    // never is).
    bool reminderDue() const;
    // When the reminder is due, asks whether to check now; true on Yes.
    bool askToCheck(Prompts& prompts) const;

signals:
    // The check has ended; `finding` tells more when the outcome is not Unreachable.
    void finished(UpdateCheck::Outcome outcome, const UpdateFinding& finding);

private:
    void requestFinished(bool answered, const QString& body);

    SettingsTree& m_settings;
    const Clock& m_clock;
    UpdateRequest* m_request;
    QString m_serverOverride;
    QString m_runningVersion;
};
