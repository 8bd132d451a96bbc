#include "ui/widgets/QtPrompts.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons standardButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A box closed without a button (Escape, the window's close button) counts as the most
// cautious answer it offers, so that nothing is removed or overwritten by accident.
PromptAnswer closedWithoutButton(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::YesNo:
        return PromptAnswer::No;
    case PromptButtons::YesNoCancel:
    case PromptButtons::OkCancel:
        return PromptAnswer::Cancel;
    }
    return PromptAnswer::Cancel;
}

} // namespace

PromptAnswer QtPrompts::show(const QString& caption, const QString& text, PromptButtons buttons,
                             PromptIcon icon) {
    QMessageBox box(boxIcon(icon), caption, text, standardButtons(buttons), m_parent);
    // The first button is the default, as the patient expects from message boxes.
    box.setDefaultButton(buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel
                             ? QMessageBox::Ok
                             : QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        return closedWithoutButton(buttons);
    }
}
