#include "storage/SqlArg.h"

#include <charconv>
#include <cstring>
#include <sqlite3.h>

namespace {

bool isFlagOrWidth(char c) {
    return std::strchr("-+ #0!,123456789.", c) != nullptr;
}

// Formats one conversion with the engine's formatter and appends it.
bool appendOne(const std::string& directive, char conversion, bool isLong, const SqlArg& arg,
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
        if (directive.size() <= 3 && (conversion == 'd' || conversion == 'i')) {
            // Plain %d / %ld: no flags or width, so the digits alone are the answer.
            char digits[24];
            long value = isLong ? arg.integer() : static_cast<int>(arg.integer());
            auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
            out.append(digits, end);
            return true;
        }
        piece = isLong ? sqlite3_mprintf(directive.c_str(), arg.integer())
                       : sqlite3_mprintf(directive.c_str(), static_cast<int>(arg.integer()));
        break;
    case 'Q':
    case 'q':
    case 's':
    case 'w':
        if (!arg.isText())
            return false;
        piece = sqlite3_mprintf(directive.c_str(), arg.text());
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
        std::string directive(start, p + 1);
        if (!appendOne(directive, *p, isLong, args[next++], out)) {
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
