// The OneTouch export reader over any bytes: the file is split into lines (or refused), and
// every line is split into fields and read.

#include "FuzzSupport.h"

#include "exchange/MeterFileText.h"
#include "exchange/OneTouchReader.h"
#include "storage/Conversions.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList lines;
    QString problem;
    if (!MeterFileText::split(fuzzBytes(data, size), QStringLiteral("fuzz.csv"), lines, problem)) {
        FUZZ_CHECK(problem.startsWith(QStringLiteral("fuzz.csv")));
        return 0;
    }
    for (const QString& text : lines) {
        const QStringList fields = OneTouchReader::splitFields(text);
        FUZZ_CHECK(!fields.isEmpty() && fields.size() <= OneTouchReader::kMaxFields);
        const OneTouchLine line = OneTouchReader::read(text);
        if (line.kind == OneTouchLine::Kind::Total)
            FUZZ_CHECK(fields.size() == 1 && line.total >= 0);
        if (line.kind != OneTouchLine::Kind::Record)
            continue;
        FUZZ_CHECK(fields.size() == OneTouchReader::kMaxFields);
        FUZZ_CHECK(line.timestamp.size() == 14 && line.timestamp.endsWith(QStringLiteral("00")));
        // A record's moment exists: the logbook can always take it.
        (void)fromDateTimeText(line.timestamp);
        FUZZ_CHECK(line.number >= 0);
        if (line.value == OneTouchLine::Value::Insulin)
            FUZZ_CHECK(!line.amount.isEmpty() && !line.insulinName.isEmpty());
    }
    return 0;
}
