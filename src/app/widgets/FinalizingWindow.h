#pragma once

#include <QDialog>

// The modeless "Finalizing Setup!" window shown while a new patient's database is filled.
class FinalizingWindow : public QDialog {
    Q_OBJECT

public:
    explicit FinalizingWindow(QWidget* parent = nullptr);

    // Shows the window centred on the desktop and lets it paint before the work starts.
    void showCentred();
};
