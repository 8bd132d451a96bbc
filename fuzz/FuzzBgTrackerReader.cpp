// The BG Tracker 4 export reader over any bytes: the file is split into lines (or refused),
// and every line is split into fields and read.

#include "FuzzSupport.h"

#include "exchange/BgTrackerReader.h"
#include "exchange/MeterFileText.h"
#include "storage/Conversions.h"
#include "storage/Text.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList lines;
    QString problem;
    if (!MeterFileText::split(fuzzBytes(data, size), QStringLiteral("fuzz.txt"), lines, problem)) {
        FUZZ_CHECK(problem.startsWith(QStringLiteral("fuzz.txt")));
        return 0;
    }
    for (const QString& text : lines) {
        const QStringList fields = BgTrackerReader::splitFields(text);
        FUZZ_CHECK(!fields.isEmpty() && fields.size() <= BgTrackerReader::kMaxFields);
        for (const QString& field : fields)
            FUZZ_CHECK(charCount(field) <= BgTrackerReader::kMaxFieldChars);
        const BgTrackerLine line = BgTrackerReader::read(text);
        if (!line.isRecord)
            continue;
        FUZZ_CHECK(line.timestamp.size() == 14 && line.timestamp.endsWith(QStringLiteral("00")));
        (void)fromDateTimeText(line.timestamp);
        FUZZ_CHECK(line.glucose >= 0);
        FUZZ_CHECK(line.doses.size() <= BgTrackerReader::kMaxDoses);
        for (const BgTrackerLine::Dose& dose : line.doses)
            FUZZ_CHECK(!dose.name.isEmpty() && !dose.amount.isEmpty());
    }
    return 0;
}
