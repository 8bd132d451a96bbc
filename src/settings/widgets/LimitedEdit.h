#pragma once

#include "logbook/widgets/CharLimitValidator.h"

#include <QLineEdit>

// A text field showing a stored text and taking at most `limit` characters, named after its
// control id so that tests and the layout find it.
inline QLineEdit* limitedEdit(const QString& text, int limit, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setText(text);
    CharLimitValidator::install(edit, limit);
    return edit;
}
