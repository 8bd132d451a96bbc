#pragma once

#include "exchange/CgmExport.h"

class QIODevice;

// Reads a Nightscout JSON file (entries.json with sgv and mbg records, or treatments.json with
// insulin and carbs). Sensor readings carry the source "nightscout".
class NightscoutReader {
public:
    static constexpr const char* kSource = "nightscout";
    // `fileName` names the file in the refusal.
    static CgmExport read(QIODevice& file, const QString& fileName);
};
