#pragma once

#include "storage/QbPreferenceTable.h"
#include "storage/QbRatioTable.h"
#include "storage/QbSensitivityTable.h"
#include "storage/QbTargetTable.h"

#include <gtest/gtest.h>

// Quick-bolus settings and schedule rows stored directly, as the set-up sheet would leave
// them; each row helper returns the new row's key.

// The calculator's insulin (code), its duration in minutes and whether it is switched on.
inline void storeQbPreference(Database& db, const char* code, int minutes, bool on) {
    QbPreference qb;
    qb.setPk(QbPreferenceTable::kPk);
    qb.setMedCode(code);
    qb.setMedMinutes(minutes);
    qb.setUseBol(on);
    EXPECT_TRUE(QbPreferenceTable::save(db, qb));
}

inline int addQbTarget(Database& db, const char* time, int lo, int hi, int fk = 0) {
    QbTarget target;
    target.setTargetTime(time);
    target.setGlucoseLo(lo);
    target.setGlucoseHi(hi);
    target.setFk(fk);
    EXPECT_TRUE(QbTargetTable::save(db, target));
    return target.getPk();
}

inline int addQbRatio(Database& db, const char* time, int carbs, int fk = 0) {
    QbRatio ratio;
    ratio.setRatioTime(time);
    ratio.setCarbCnt(carbs);
    ratio.setFk(fk);
    EXPECT_TRUE(QbRatioTable::save(db, ratio));
    return ratio.getPk();
}

inline int addQbSensitivity(Database& db, const char* time, int drop, int fk = 0) {
    QbSensitivity sensitivity;
    sensitivity.setSensTime(time);
    sensitivity.setGlucoseCnt(drop);
    sensitivity.setFk(fk);
    EXPECT_TRUE(QbSensitivityTable::save(db, sensitivity));
    return sensitivity.getPk();
}
