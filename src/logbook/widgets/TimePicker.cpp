#include "logbook/widgets/TimePicker.h"

#include "logbook/widgets/TimePickerFormat.h"

#include <QKeyEvent>
#include <QLineEdit>

TimePicker::TimePicker(bool military, QWidget* parent) : QTimeEdit(parent) {
    setDisplayFormat(qtTimePickerFormat(military));
}

bool TimePicker::shownWhole() const {
    QString text = lineEdit()->text();
    int pos = lineEdit()->cursorPosition();
    return validate(text, pos) == QValidator::Acceptable;
}

bool TimePicker::finishDayHalf() {
    // The day half is the format's last part, after the last blank.
    const QString text = lineEdit()->text();
    const qsizetype start = text.lastIndexOf(u' ') + 1;
    const QString begun = text.mid(start);
    if (start == 0 || begun.isEmpty())
        return false;
    QStringList matches;
    for (const QString& half : {locale().amText().toUpper(), locale().pmText().toUpper()}) {
        if (half.startsWith(begun, Qt::CaseInsensitive))
            matches << half;
    }
    if (matches.size() != 1)
        return false;
    lineEdit()->setText(text.left(start) + matches.first());
    if (!shownWhole())
        return false;
    interpretText();
    return true;
}

void TimePicker::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !shownWhole() && !finishDayHalf()) {
        // The box is shown again as it stands; the dialog is not closed on a time it did
        // not show.
        interpretText();
        event->accept();
        return;
    }
    QTimeEdit::keyPressEvent(event);
    // Only what is typed is finished: taking characters away stays possible.
    if (!enter && !event->text().isEmpty() && event->text().at(0).isLetter() && !shownWhole())
        finishDayHalf();
}
