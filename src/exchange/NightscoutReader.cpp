#include "exchange/NightscoutReader.h"

// Placeholder until the reader lands: every file is refused.
CgmExport NightscoutReader::read(QIODevice&, const QString& fileName) {
    CgmExport result;
    result.error = QStringLiteral("%1\ncannot be read yet.").arg(fileName);
    return result;
}
