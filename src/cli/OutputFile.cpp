#include "cli/OutputFile.h"

#include <QFileInfo>

QString outputFileProblem(const QString& path) {
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("it is a folder");
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("its folder does not exist");
    if (file.exists() ? !file.isWritable() : !folder.isWritable())
        return QStringLiteral("writing there is not allowed");
    return {};
}
