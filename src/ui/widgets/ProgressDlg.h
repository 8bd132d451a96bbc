#pragma once

#include "ui/Progress.h"

#include <QPointer>
#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

// The progress window: a small frameless window with a topic line, a bar and an item line.
// The work it follows runs on the interface thread, so every step repaints the window
// itself instead of waiting for the event loop. The window is built on first use and
// shown again for each later topic.
class ProgressDlg : public Progress {
public:
    // The window is centred over `parent` when one is given, otherwise on the screen.
    explicit ProgressDlg(QWidget* parent = nullptr);
    ~ProgressDlg() override;
    ProgressDlg(const ProgressDlg&) = delete;
    ProgressDlg& operator=(const ProgressDlg&) = delete;

    void begin(const QString& topic, int steps) override;
    void step(const QString& item, int taken) override;
    void finish() override;

    // What the window shows; empty or 0 before the first topic.
    QString topicText() const;
    QString itemText() const;
    int value() const;
    int maximum() const;
    bool isVisible() const;
    QWidget* window() const { return m_window; }

private:
    void build();
    void placeWindow();
    void refresh();

    QPointer<QWidget> m_parent;
    QPointer<QWidget> m_window;
    QLabel* m_topic = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_item = nullptr;
    int m_steps = 0;
};
