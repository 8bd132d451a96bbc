#pragma once

#include <QTimeEdit>

// The time picker of every dialog, in the clock style the patient chose. In the 12-hour style
// a day half begun ("10:00 P") is finished at once, so the time taken is the one the box
// shows; a time the box cannot show whole (no day half at all) is not taken by Enter.
class TimePicker : public QTimeEdit {
public:
    TimePicker(bool military, QWidget* parent);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The text with a begun day half finished, or an empty text when there is none to finish.
    QString finished(const QString& input) const;
};
