#pragma once

#include "logbook/widgets/CharLimitValidator.h"

#include <QDateEdit>
#include <QLineEdit>

// The fields the side logs' item dialogs share, named after what they hold so that tests
// and the layout find them.
namespace SideLogFields {

// A text field taking at most `chars` characters (0: any text, which the form checks).
inline QLineEdit* textEdit(const QString& text, int chars, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (chars > 0)
        CharLimitValidator::install(edit, chars);
    return edit;
}

// Narrows a field to what `chars` digits need.
inline void fitDigits(QLineEdit* edit, int chars) {
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, u'0')) + 16);
}

// A date picker with its calendar, from 1900 on as the stored dates go.
inline QDateEdit* datePicker(QDate date, const char* name, QWidget* parent) {
    auto* picker = new QDateEdit(date, parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1900, 1, 1));
    return picker;
}

} // namespace SideLogFields
