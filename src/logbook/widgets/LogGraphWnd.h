#pragma once

#include "logbook/GraphPlot.h"

#include <QFrame>
#include <QPoint>
#include <QTimer>

class LogbookContext;
class SampleListCtrl;
class TipView;

// The strip under the logbook list that plots the glucose of the rows the list shows, one
// column per row, oldest on the left, over the patient's ranges. Resting the mouse on a
// column selects that row in the list and, with balloons switched on, shows the row in a
// balloon; clicking the balloon asks for the row's editor.
class LogGraphWnd : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 100;
    static constexpr int kHoverMs = 200;

    LogGraphWnd(LogbookContext& context, SampleListCtrl& list, QWidget* parent);
    ~LogGraphWnd() override;

    void setBalloonSwitch(bool on) { m_balloonSwitch = on; }
    bool balloonSwitch() const { return m_balloonSwitch; }

    // The graph's own commands (GraphCommand); false for any other.
    bool runCommand(int id);

    // The balloon, once the first hover made it.
    TipView* balloon() const { return m_balloon; }
    bool isTracking() const { return m_tracking; }
    // The row offset the last rest found, below 0 when it was over no row.
    int hoveredOffset() const { return m_hovered; }
    // Works out what a paint now would draw (the paint itself does the same).
    const GraphPlot& computePlot();

signals:
    // The hovered row's balloon was clicked: the owner opens the selected row's editor.
    void editRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void hoverTick();
    void balloonClicked();
    void stopTracking();
    void restOn(int x);
    QString balloonTextFor(int row);

    LogbookContext& m_context;
    SampleListCtrl& m_list;
    bool m_balloonSwitch = false;
    TipView* m_balloon = nullptr;
    bool m_tracking = false;
    QTimer m_timer;
    QPoint m_cursor;     // where the last mouse move left the cursor
    QPoint m_lastCursor; // where it was at the previous tick
    int m_hovered = -1;
    // Kept between paints so that its storage is reused.
    GraphPlot m_plot;
};
