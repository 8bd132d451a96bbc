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
    for (qsizetype i = 0; i < patientName.size(); ++i) {
        const char16_t u = patientName.at(i).unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        // The position counts in the name as typed: a digit after dropped characters stays.
        const bool digit = u >= u'0' && u <= u'9' && i > 0;
        if (letter || digit)
            name += patientName.at(i);
    }
    // A name of digits or punctuation alone would otherwise make the hidden file ".db", one
    // file for all such patients; the numbered candidates of one stem keep them apart.
    return name.isEmpty() ? QString::fromLatin1(kEmptyNameStem) : name;
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
