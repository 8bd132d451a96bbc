#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// The fields of comma-separated exports as spreadsheets write them: a field in double quotes
// may hold the delimiter, line breaks and doubled quotes. Also the numbers such fields hold.
class CsvFields {
public:
    // The fields of one record. Text after a closing quote up to the delimiter is kept with
    // the field; a quote never closed runs to the end of the record.
    static QStringList split(QStringView record, QChar delimiter = u',');
    // The delimiter of a header line: comma, semicolon or tab, whichever occurs most outside
    // quotes (comma when there is none).
    static QChar delimiterOf(QStringView header);
    // True when the text ends inside a quoted field, so the record goes on on the next line.
    static bool quoteOpen(QStringView record);

    // A number without sign written with ASCII digits and at most one decimal point or comma.
    struct Decimal {
        int whole = 0;
        // The digits after the point, as written.
        QString fraction;
        bool hasFraction = false;
        int tenths() const { return fraction.isEmpty() ? 0 : fraction[0].unicode() - u'0'; }
    };
    // Blanks around the number are allowed; nothing when the text is not such a number or its
    // whole part has more than `maxWholeDigits` digits.
    static std::optional<Decimal> decimal(const QString& text, int maxWholeDigits);

    // An insulin dose as the logbook writes it ("4", "4.5", "1.25": hundredths at most,
    // trailing zeros dropped); empty when the text is not a dose above zero.
    static QString dose(const QString& text);
    // The same for a dose already read as a number.
    static QString dose(double units);
    // Grams, rounded to the nearest whole gram; 0 when the text is not a number above zero.
    static int grams(const QString& text);
};
