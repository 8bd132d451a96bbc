// The Nightscout reader over any bytes.

#include "FuzzCgmChecks.h"

#include "exchange/NightscoutReader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer file;
    file.setData(fuzzBytes(data, size));
    const QString name = QStringLiteral("fuzz.json");
    checkCgmExport(NightscoutReader::read(file, name), name, NightscoutReader::kSource);
    return 0;
}
