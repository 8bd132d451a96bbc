// The Clarity export reader and the CGM import over any bytes, into a new patient's database in
// memory: what the reader hands on is always storable, and the import either stores it whole or
// leaves nothing behind.

#include "FuzzImportDatabase.h"
#include "FuzzSupport.h"

#include "exchange/CgmImport.h"
#include "exchange/ClarityReader.h"
#include "storage/CgmReadingTable.h"
#include "storage/Transaction.h"
#include "ui/Progress.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzTimeZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzImportDatabase patient;
    QBuffer file;
    file.setData(fuzzBytes(data, size));
    const CgmExport read = ClarityReader::read(file, QStringLiteral("fuzz.csv"));
    if (!read.ok()) {
        FUZZ_CHECK(read.error.startsWith(QStringLiteral("fuzz.csv")));
        FUZZ_CHECK(read.readings.empty() && read.events.empty());
    }
    for (const CgmReading& reading : read.readings) {
        FUZZ_CHECK(reading.time.size() == 14 && reading.source == QLatin1String("clarity"));
        (void)fromDateTimeText(reading.time);
        FUZZ_CHECK(reading.glucose >= 1 && reading.glucose <= 999);
        FUZZ_CHECK(reading.rangeFlag == 0 || (reading.rangeFlag == 1 && reading.glucose == 400) ||
                   (reading.rangeFlag == -1 && reading.glucose == 40));
    }
    for (const CgmEvent& event : read.events) {
        FUZZ_CHECK(event.time.size() == 14 && event.time.endsWith(QStringLiteral("00")));
        (void)fromDateTimeText(event.time);
        if (event.kind == CgmEvent::Kind::RapidInsulin || event.kind == CgmEvent::Kind::LongInsulin)
            FUZZ_CHECK(!event.units.isEmpty() && event.units.size() <= 6);
    }

    NoProgress progress;
    Transaction undo(patient.db());
    const ImportResult result =
        CgmImport(patient.context(), progress).store(read, {"H", "G"}, QStringLiteral("fuzz.csv"));
    FUZZ_CHECK(result.ok == read.ok());
    if (result.ok) {
        FUZZ_CHECK(result.readingsStored + result.readingsKnown ==
                   static_cast<int>(read.readings.size()));
        FUZZ_CHECK(CgmReadingTable::count(patient.db()) == result.readingsStored);
        FUZZ_CHECK(patient.count(kUnsummarizedDays) == 0);
    } else {
        FUZZ_CHECK(CgmReadingTable::count(patient.db()) == 0);
        FUZZ_CHECK(patient.count("select count(*) from SAMPLE") == 0);
    }
    FUZZ_CHECK(patient.db().openUnits() == 1);
    undo.rollback();
    return 0;
}
