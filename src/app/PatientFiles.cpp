#include "app/PatientFiles.h"

#include "app/AppDialogs.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace PatientFiles {

QString dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString makeFileName(const QString& patientName) {
    QString name;
    for (QChar c : patientName) {
        const char16_t u = c.unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        const bool digit = u >= u'0' && u <= u'9';
        // The name never begins with a digit, wherever the dropped characters were.
        if (letter || (digit && !name.isEmpty()))
            name += c;
    }
    return name;
}

QString candidatePath(const QString& folder, const QString& fileName, int number) {
    if (number < 2)
        return QStringLiteral("%1/%2.db").arg(folder, fileName);
    return QStringLiteral("%1/%2%3.db").arg(folder, fileName).arg(number);
}

QString reuseQuestionText(const QString& patientName, const QString& path) {
    return QStringLiteral("%1\n\n%2\n%3\n\n%4")
        .arg(QString::fromLatin1(kReuseFound), patientName, QDir::toNativeSeparators(path),
             QString::fromLatin1(kReuseQuestion));
}

std::optional<bool> createDbName(const QString& folder, const QString& patientName,
                                 Prompts& prompts, QString& path) {
    const QString caption = QString::fromLatin1(kProgramName);
    if (folder.isEmpty()) {
        prompts.error(caption, QString::fromLatin1(kEmptyFolder));
        return std::nullopt;
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        prompts.error(caption, QString::fromLatin1(kNoFolder));
        return std::nullopt;
    }
    const QString fileName = makeFileName(patientName);
    for (int number = 1;; ++number) {
        path = candidatePath(folder, fileName, number);
        if (!QFileInfo::exists(path))
            return false;
        if (prompts.askYesNo(QString::fromLatin1(kReuseCaption),
                             reuseQuestionText(patientName, path)))
            return true;
    }
}

} // namespace PatientFiles
