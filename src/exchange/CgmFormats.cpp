#include "exchange/CgmFormats.h"

#include "exchange/ClarityReader.h"
#include "exchange/LibreViewReader.h"
#include "exchange/NightscoutReader.h"

#include <QStringList>

namespace {

constexpr CgmFormat kFormats[] = {
    {"clarity", "Clarity CGM Data ...", "Import Clarity CGM Data",
     "Clarity CSV export (*.csv);;All files (*)", "Clarity", &ClarityReader::read},
    {"libreview", "LibreView Data ...", "Import LibreView Data",
     "LibreView CSV export (*.csv);;All files (*)", "LibreView", &LibreViewReader::read},
    {"nightscout", "Nightscout Data ...", "Import Nightscout Data",
     "Nightscout JSON (*.json);;All files (*)", "Nightscout", &NightscoutReader::read},
};

} // namespace

std::span<const CgmFormat> CgmFormats::all() {
    return kFormats;
}

const CgmFormat* CgmFormats::find(const QString& name) {
    for (const CgmFormat& format : kFormats)
        if (name == QLatin1String(format.name))
            return &format;
    return nullptr;
}

QString CgmFormats::names() {
    QStringList list;
    for (const CgmFormat& format : kFormats)
        list << QString::fromLatin1(format.name);
    const QString last = list.takeLast();
    return list.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
