#include "app/DatabaseFileOpening.h"

#include "app/CQuillmarchApp.h"
#include "app/SettingsTree.h"
#include "storage/DatabaseFile.h"

#include <QFileInfo>

DatabaseFileOpening decideFileOpening(const SettingsTree& settings, const QString& path) {
    DatabaseFileOpening result;
    const QFileInfo file(path);
    if (!file.isFile()) {
        result.why = QStringLiteral("there is no such file");
        return result;
    }
    // Links and relative names lead to the same file: compare where they end.
    const QString target = file.canonicalFilePath();
    for (const QString& user : settings.listUsers()) {
        const QString dbPath =
            settings.getUserString(user, QString::fromLatin1(CQuillmarchApp::kDbPathValue));
        if (!dbPath.isEmpty() && QFileInfo(dbPath).canonicalFilePath() == target) {
            result.kind = DatabaseFileOpening::Kind::OpenPatient;
            result.patient = user;
            return result;
        }
    }
    if (DatabaseFile::checkPatientDatabase(path, result.why))
        result.kind = DatabaseFileOpening::Kind::OfferImport;
    return result;
}
