// The LibreView export reader over any bytes.

#include "FuzzCgmChecks.h"

#include "exchange/LibreViewReader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer file;
    file.setData(fuzzBytes(data, size));
    const QString name = QStringLiteral("fuzz.csv");
    checkCgmExport(LibreViewReader::read(file, name), name, LibreViewReader::kSource);
    return 0;
}
