#include "app/PatientViewSettings.h"

#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"

QString PatientViewSettings::value(const char* name) const {
    const QString user = m_app.currentUserName();
    return user.isEmpty() ? QString()
                          : m_app.settings().getUserString(user, QString::fromLatin1(name));
}

void PatientViewSettings::setValue(const char* name, const QString& value) {
    const QString user = m_app.currentUserName();
    if (!user.isEmpty())
        m_app.settings().setUserString(user, QString::fromLatin1(name), value);
}
