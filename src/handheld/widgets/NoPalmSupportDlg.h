#pragma once

#include <QDialog>

class QLabel;

// Shown when the Palm HotSync manager cannot be reached: says why that happens and what to
// install first. Only OK.
class NoPalmSupportDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "No Palm Support";
    static constexpr const char* kText =
        "Quillmarch was unable to communicate with the Palm HotSync manager.\n\n"
        "This happens when no Palm support is installed on this computer, or when the "
        "HotSync manager is not working.\n\n"
        "The applications that came with your Palm handheld must be installed before "
        "Quillmarch can synchronize with it.\n\n"
        "Please contact your vendor if you have any questions.";

    explicit NoPalmSupportDlg(QWidget* parent = nullptr);

    QLabel* textLabel() const { return m_text; }

private:
    QLabel* m_text;
};
