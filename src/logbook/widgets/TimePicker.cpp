#include "logbook/widgets/TimePicker.h"

#include "logbook/widgets/TimePickerFormat.h"

#include <QKeyEvent>
#include <QLineEdit>

TimePicker::TimePicker(bool military, QWidget* parent) : QTimeEdit(parent) {
    setDisplayFormat(qtTimePickerFormat(military));
}

QString TimePicker::finished(const QString& input) const {
    // The day half is the format's last part, after the last blank.
    const qsizetype start = input.lastIndexOf(u' ') + 1;
    const QString begun = input.mid(start);
    if (start == 0 || begun.isEmpty())
        return {};
    QString match;
    for (const QString& half : {locale().amText().toUpper(), locale().pmText().toUpper()}) {
        if (half.startsWith(begun, Qt::CaseInsensitive) && half.size() > begun.size()) {
            if (!match.isEmpty())
                return {}; // begun the same way as both: it is not known which is meant
            match = half;
        }
    }
    return match.isEmpty() ? QString() : input.left(start) + match;
}

QValidator::State TimePicker::validate(QString& input, int& pos) const {
    const QValidator::State state = QTimeEdit::validate(input, pos);
    if (state != QValidator::Intermediate)
        return state;
    QString whole = finished(input);
    int end = int(whole.size());
    if (whole.isEmpty() || QTimeEdit::validate(whole, end) != QValidator::Acceptable)
        return state;
    input = whole;
    pos = int(input.size());
    return QValidator::Acceptable;
}

void TimePicker::fixup(QString& input) const {
    const QString whole = finished(input);
    if (whole.isEmpty())
        QTimeEdit::fixup(input);
    else
        input = whole;
}

void TimePicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QTimeEdit::keyPressEvent(event);
    QString text = lineEdit()->text();
    int pos = lineEdit()->cursorPosition();
    if (validate(text, pos) == QValidator::Acceptable)
        return QTimeEdit::keyPressEvent(event);
    // Shown again as it stands, and the dialog is not closed on a time that was not shown.
    interpretText();
    event->accept();
}
