#pragma once

#include "exchange/CgmImport.h"

#include <QString>
#include <span>

// The CGM export formats the program reads, for the menus and the command line alike.
struct CgmFormat {
    // The word the command line names it by.
    const char* name;
    // The File > Import item.
    const char* menuText;
    // The file dialog's caption and filter.
    const char* dialogCaption;
    const char* filter;
    // What the format is called in messages.
    const char* title;
    CgmImport::Reader read;
};

namespace CgmFormats {
// In the order of the menu.
std::span<const CgmFormat> all();
// The format with this name, or nullptr.
const CgmFormat* find(const QString& name);
// The names joined for a message: "clarity, libreview and nightscout".
QString names();
} // namespace CgmFormats
