#pragma once

#include "exchange/CgmExport.h"

#include <QStringList>

// A CGM export as text for golden files: the counts, then one line per reading and per event
// in the order the reader gave them (line breaks in a note shown as "\n").
inline QStringList cgmExportText(const CgmExport& data) {
    QStringList lines;
    lines << QStringLiteral("read %1 ignored %2").arg(data.recordsRead).arg(data.linesIgnored);
    if (!data.ok())
        lines << QStringLiteral("refused %1").arg(data.error);
    for (const CgmReading& r : data.readings)
        lines << QStringLiteral("reading %1 %2 %3 %4")
                     .arg(r.time)
                     .arg(r.glucose)
                     .arg(r.rangeFlag)
                     .arg(r.source);
    for (const CgmEvent& e : data.events) {
        switch (e.kind) {
        case CgmEvent::Kind::MeterGlucose:
            lines << QStringLiteral("meter %1 %2").arg(e.time).arg(e.glucose);
            break;
        case CgmEvent::Kind::RapidInsulin:
            lines << QStringLiteral("rapid %1 %2").arg(e.time, e.units);
            break;
        case CgmEvent::Kind::LongInsulin:
            lines << QStringLiteral("long %1 %2").arg(e.time, e.units);
            break;
        case CgmEvent::Kind::Carbs:
            lines << QStringLiteral("carbs %1 %2").arg(e.time).arg(e.carbs);
            break;
        case CgmEvent::Kind::Note:
            lines << QStringLiteral("note %1 %2").arg(e.time, QString(e.text).replace('\n', "\\n"));
            break;
        }
    }
    return lines;
}
