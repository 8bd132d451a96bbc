#pragma once

#include "exchange/CgmExport.h"

class QIODevice;

// Reads the LibreView CSV export (a details line, a header line naming the unit, then records by
// type). Sensor readings carry the source "libreview".
class LibreViewReader {
public:
    static constexpr const char* kSource = "libreview";
    // `fileName` names the file in the refusal.
    static CgmExport read(QIODevice& file, const QString& fileName);
};
