#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

// Puts "OK" and "Cancel" at the end of a dialog's layout. OK runs the dialog's own accept(),
// which checks its fields before it closes; Cancel closes it without storing anything.
// Returns the OK button.
QPushButton* addOkCancel(QDialog& dialog, QBoxLayout& layout);
