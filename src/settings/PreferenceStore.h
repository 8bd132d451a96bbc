#pragma once

#include <QString>
#include <functional>

class PatientSettingsContext;

// The values of the Patient page, as they are stored.
struct PatientFields {
    QString patientName;
    QString doctorName;
    QString doctorPhone;
    QString doctorFax;
    QString birthDate; // YYYYMMDD, or whatever was stored when the date was never picked
    QString dxDate;
};

// The values of the Ranges page. The glucose limits are texts in the unit in force when the
// sheet opened; the store parses them.
struct RangeFields {
    QString glucoseExtLo;
    QString glucoseLo;
    QString glucoseHi;
    QString glucoseExtHi;
    int bpSystolicNormal = 0;
    int bpSystolicModerate = 0;
    int bpSystolicHi = 0;
    int bpDiastolicNormal = 0;
    int bpDiastolicModerate = 0;
    int bpDiastolicHi = 0;
};

// The values of the Miscellaneous page.
struct MiscFields {
    bool militaryTime = false;
    bool askDelete = true;
    int retainDays = 0;
    int glucoseUnit = 0;
    int deliveryCode = 0;
};
