#pragma once

#include <QString>
#include <QStringList>

// Compares lines with a golden file under the test-data folder, line by line, reporting the
// first difference. With QUILLMARCH_UPDATE_GOLDEN set, writes the file instead.
void expectGoldenFile(const QStringList& lines, const QString& relativePath);
