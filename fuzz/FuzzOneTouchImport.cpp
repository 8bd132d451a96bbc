// The whole OneTouch import over any bytes, into a new patient's database in memory.

#include "FuzzImportDatabase.h"
#include "FuzzSupport.h"

#include "exchange/OneTouchData.h"
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
    NoProgress progress;
    Transaction undo(patient.db());
    const ImportResult result = OneTouchData(patient.context(), progress).import(file, "fuzz.csv");
    if (result.ok) {
        FUZZ_CHECK(result.recordsApplied <= result.recordsRead);
        // Every entry is filed under its day, and every day is summarized.
        FUZZ_CHECK(patient.count("select count(*) from SAMPLE s where not exists (select 1 from "
                                 "SAMPLE_DATE d where d.PK = s.SAMPLE_DATE_PK and d.SAMPLE_DATE = "
                                 "substr(s.SAMPLE_TIME, 1, 8))") == 0);
        FUZZ_CHECK(patient.count(kUnsummarizedDays) == 0);
    } else {
        FUZZ_CHECK(result.error.startsWith(QStringLiteral("fuzz.csv")));
        FUZZ_CHECK(patient.count("select count(*) from SAMPLE") == 0);
    }
    FUZZ_CHECK(patient.db().openUnits() == 1);
    undo.rollback();
    return 0;
}
