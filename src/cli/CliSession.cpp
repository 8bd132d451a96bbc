#include "cli/CliSession.h"

#include "app/InstanceGuard.h"
#include "app/Q7User.h"
#include "cli/CliJob.h"
#include "storage/Text.h"

#include <QStringList>
#include <QTextStream>

CliSession::CliSession(const CliEnvironment& environment, bool answerYes,
                       std::optional<QString> patient)
    : m_environment(environment), m_prompts(environment.out, environment.err, answerYes),
      m_dialogs(environment.err), m_progress(environment.out),
      m_settings(environment.settingsPath, m_prompts),
      m_app(m_settings, m_prompts, m_progress, m_dialogs, environment.clock),
      m_patient(std::move(patient)) {}

// The database closes before the patient is let go.
CliSession::~CliSession() {
    m_app.closeUser();
}

int CliSession::fail(const QString& text) {
    err() << QStringLiteral("quillmarch: ") << text << Qt::endl;
    return CliExit::failed;
}

bool CliSession::openPatient(Access access) {
    m_app.setReadOnlyFiles(access == Access::readOnly);
    if (access == Access::readWrite) {
        m_app.setPatientClaim([this](const QString& name) {
            auto guard = std::make_unique<InstanceGuard>();
            if (!guard->acquire(name)) {
                fail(QStringLiteral("The patient \"%1\" is open in another running Quillmarch. "
                                    "Close the patient there, then run the job again.")
                         .arg(name));
                return false;
            }
            m_guard = std::move(guard);
            return true;
        });
    }
    if (!m_patient)
        return m_app.selectUser();
    const QString name = Q7User(*m_patient).name();
    if (!m_settings.userExists(name)) {
        QStringList names;
        for (const QString& user : m_settings.listUsers())
            names << QLatin1Char('"') + user + QLatin1Char('"');
        QString text = QStringLiteral("There is no patient named \"%1\".").arg(*m_patient);
        if (!names.isEmpty())
            text += QStringLiteral(" The patients are %1.").arg(names.join(QLatin1String(", ")));
        fail(text);
        return false;
    }
    return m_app.switchUser(name);
}

bool CliSession::createPatient(const QString& name) {
    QString problem;
    if (name.trimmed().isEmpty())
        problem = QStringLiteral("The new patient needs a name.");
    // The new-patient dialog takes no more; cutting the name here would store another one.
    else if (charCount(name) > Q7User::kMaxNameChars)
        problem = QStringLiteral("The name \"%1\" is longer than %2 characters.")
                      .arg(name)
                      .arg(Q7User::kMaxNameChars);
    if (!problem.isEmpty()) {
        fail(problem);
        return false;
    }
    m_dialogs.setNewPatientName(name);
    return m_app.createNewUser();
}
