#include "storage/SampleTypeTable.h"

#include <array>

void SampleTypeAbs::clear() {
    setPk(0);
    setFk(0);
    setSyncState(SyncState::Added);
    setSampleTime(QString());
    setDesc(QString());
    setMedicationDosage(QString());
}

SampleType::SampleType() {
    clear();
}

std::span<const Column<SampleTypeAbs>> SampleTypeTraits::columns() {
    using A = SampleTypeAbs;
    static const std::array<Column<A>, 6> cols = {
        intColumn("PK", &A::getPk, &A::setPk),
        intColumn("FK", &A::getFk, &A::setFk),
        intColumn("SYNC_STATE", &A::getSyncState, &A::setSyncState),
        textColumn("SAMPLE_TIME", &A::getSampleTime, &A::setSampleTime),
        textColumn("DESC", &A::getDesc, &A::setDesc),
        textColumn("MEDICATION_DOSAGE", &A::getMedicationDosage, &A::setMedicationDosage),
    };
    return cols;
}
