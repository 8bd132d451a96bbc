#include "support/GoldenFile.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

void expectGoldenFile(const QStringList& lines, const QString& relativePath) {
    QFile golden(qEnvironmentVariable("QUILLMARCH_TEST_DATA") + "/" + relativePath);
    if (qEnvironmentVariableIsSet("QUILLMARCH_UPDATE_GOLDEN")) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly | QIODevice::Text))
            << golden.fileName().toStdString();
        golden.write(lines.join('\n').toUtf8() + '\n');
        return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text))
        << golden.fileName().toStdString() << " (QUILLMARCH_UPDATE_GOLDEN=1 writes it)";
    const QStringList expected =
        QString::fromUtf8(golden.readAll()).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(lines.size(), expected.size()); ++i)
        ASSERT_EQ(lines.value(i).toStdString(), expected.value(i).toStdString())
            << relativePath.toStdString() << ":" << i + 1;
}
