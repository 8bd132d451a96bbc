#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

// One argument of a statement format. Integers go to %d / %ld, texts to %Q / %q / %s;
// a null text becomes SQL NULL through %Q.
class SqlArg {
public:
    SqlArg(int v) : m_int(v), m_isText(false) {}
    SqlArg(long v) : m_int(v), m_isText(false) {}
    SqlArg(const char* v) : m_isText(true) {
        if (v)
            m_text = v;
    }
    SqlArg(const QString& v) : m_isText(true) {
        if (!v.isNull())
            m_text = v.toUtf8().toStdString();
    }
    SqlArg(const std::string& v) : m_text(v), m_isText(true) {}
    SqlArg(const QByteArray& v) : m_isText(true) {
        if (!v.isNull())
            m_text = v.toStdString();
    }

    bool isText() const { return m_isText; }
    long integer() const { return m_int; }
    // Null pointer for a null text.
    const char* text() const { return m_text ? m_text->c_str() : nullptr; }

private:
    long m_int = 0;
    std::optional<std::string> m_text;
    bool m_isText;
};

using SqlArgs = std::vector<SqlArg>;

// Builds a statement from a printf-style format with the engine's own formatter, one
// conversion at a time, so that every text is quoted by the engine (%Q) and integer widths
// match what each conversion expects. Returns false when the arguments do not fit the
// format (too few, too many, or a text where a number belongs); `out` is then empty.
bool formatStatement(const char* format, const SqlArgs& args, std::string& out);
