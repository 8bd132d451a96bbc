#pragma once

#include <QDialog>

// The modeless "Optimizing ..... Please Wait!" window, shown centred on the desktop with the
// wait cursor while the database file is compacted on this thread.
class OptimizeWaitWindow : public QDialog {
    Q_OBJECT

public:
    explicit OptimizeWaitWindow(QWidget* parent = nullptr);
    ~OptimizeWaitWindow() override;

    // Shows the window (and lets it paint before the work starts) or takes it away again; the
    // wait cursor goes with it. The form DatabaseMaintenance::optimizeDatabase takes.
    void setShown(bool shown);

private:
    bool m_cursorSet = false;
};
