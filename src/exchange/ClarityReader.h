#pragma once

#include "exchange/CgmExport.h"

class QIODevice;

// Reads the Clarity CSV export (timestamp, event type and subtype, glucose or High/Low, insulin,
// carbohydrates). Sensor readings carry the source "clarity".
class ClarityReader {
public:
    static constexpr const char* kSource = "clarity";
    // `fileName` names the file in the refusal.
    static CgmExport read(QIODevice& file, const QString& fileName);
};
