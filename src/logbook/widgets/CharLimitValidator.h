#pragma once

#include <QValidator>

class QLineEdit;

// Limits a line edit to a number of characters. QLineEdit's own maximum length counts UTF-16
// units and cuts an emoji in half; this counts characters and cuts only between whole ones.
// What is typed or pasted is cut where it goes in, as far as it does not fit; the rest of the
// text stays. A text already longer than the limit when it is installed is kept whole and may
// only shrink.
class CharLimitValidator : public QValidator {
public:
    // Puts a validator on `edit` limiting it to `chars` characters from now on.
    static void install(QLineEdit* edit, int chars);

    QValidator::State validate(QString& input, int& pos) const override;

private:
    CharLimitValidator(QLineEdit* edit, int chars);

    int m_chars;
    QString m_previous; // the edit's text before the change being validated
};
