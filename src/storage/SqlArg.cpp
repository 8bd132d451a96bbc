#include "storage/SqlArg.h"

#include <cstring>
#include <sqlite3.h>

namespace {

bool isFlagOrWidth(char c) {
    return std::strchr("-+ #0!,123456789.", c) != nullptr;
}

// Formats one conversion with the engine's formatter and appends it.
bool appendOne(const std::string& spec, char conversion, bool isLong, const SqlArg& arg,
               std::string& out) {
    char* piece = nullptr;
    switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'c':
        if (arg.isText())
            return false;
        piece = isLong ? sqlite3_mprintf(spec.c_str(), arg.integer())
                       : sqlite3_mprintf(spec.c_str(), static_cast<int>(arg.integer()));
        break;
    case 'Q':
    case 'q':
    case 's':
    case 'w':
        if (!arg.isText())
            return false;
        piece = sqlite3_mprintf(spec.c_str(), arg.text());
        break;
    default:
        return false;
    }
    if (!piece)
        return false;
    out += piece;
    sqlite3_free(piece);
    return true;
}

} // namespace

bool formatStatement(const char* format, const SqlArgs& args, std::string& out) {
    out.clear();
    size_t next = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        const char* start = p++;
        while (*p && isFlagOrWidth(*p))
            ++p;
        bool isLong = false;
        while (*p == 'l') {
            isLong = true;
            ++p;
        }
        if (!*p || next >= args.size()) {
            out.clear();
            return false;
        }
        std::string spec(start, p + 1);
        if (!appendOne(spec, *p, isLong, args[next++], out)) {
            out.clear();
            return false;
        }
    }
    if (next != args.size()) {
        out.clear();
        return false;
    }
    return true;
}
