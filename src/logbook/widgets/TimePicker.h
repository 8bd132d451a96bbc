#pragma once

#include <QTimeEdit>

// The time picker of every dialog, in the clock style the patient chose. In the 12-hour style
// a day half begun by typing ("10:00 P") is finished at once, so the time taken is the one
// the box shows; Enter on a time the box does not show whole (no day half at all) is refused.
class TimePicker : public QTimeEdit {
public:
    TimePicker(bool military, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool shownWhole() const;
    // Finishes a begun day half in the box; false when there is none to finish.
    bool finishDayHalf();
};
