#include "logbook/widgets/LogGraphWnd.h"

#include "logbook/BalloonText.h"
#include "logbook/GraphScale.h"
#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "logbook/widgets/TipView.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kBackground(255, 255, 255);
const QColor kLowBand(254, 215, 255);
const QColor kHighBand(211, 228, 245);
const QColor kLine(0, 0, 255);
const QColor kDayLine(255, 0, 0);

} // namespace

LogGraphWnd::LogGraphWnd(LogbookContext& context, SampleListCtrl& list, QWidget* parent)
    : QFrame(parent), m_context(context), m_list(list) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    m_timer.setInterval(kHoverMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { runCommand(GraphCommand::HoverTick); });
}

LogGraphWnd::~LogGraphWnd() = default;

bool LogGraphWnd::runCommand(int id) {
    switch (id) {
    case GraphCommand::Refresh:
        update();
        return true;
    case GraphCommand::HoverTick:
        hoverTick();
        return true;
    case GraphCommand::BalloonClicked:
        balloonClicked();
        return true;
    default:
        return false;
    }
}

const GraphPlot& LogGraphWnd::computePlot() {
    const Preference& preference = m_context.preference();
    const GraphLimits limits{preference.getGlucoseExtLo(), preference.getGlucoseLo(),
                             preference.getGlucoseHi(), preference.getGlucoseExtHi(),
                             preference.getGlucoseSampleCode()};
    const QRect client = contentsRect();
    const GraphPage page{client.width(), client.height(), m_list.rowsPerPage(),
                         m_list.visibleRows().first, m_list.filter()};
    buildGraphPlot(m_context.database(), m_list.model()->rows(), page, limits, m_plot);
    return m_plot;
}

void LogGraphWnd::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const GraphPlot& plot = computePlot();
    const QRect client = contentsRect();
    const int w = client.width();
    const int h = client.height();
    QPainter painter(this);
    painter.setClipRect(client);
    painter.translate(client.topLeft());

    painter.fillRect(0, 0, w, h, kBackground);
    painter.fillRect(0, 0, w, plot.highBandBottom, kHighBand);
    painter.fillRect(0, plot.lowBandTop, w, h - plot.lowBandTop, kLowBand);
    const QPen guide(Qt::black, 1, Qt::DotLine);
    painter.setPen(guide);
    painter.drawLine(0, plot.extHiY, w, plot.extHiY);
    painter.drawLine(0, plot.extLoY, w, plot.extLoY);

    painter.setFont(m_list.font());
    painter.setPen(QPen(kLine, 1));
    if (plot.line.size() > 1)
        painter.drawPolyline(plot.line.data(), static_cast<int>(plot.line.size()));
    for (const QPoint& point : plot.line)
        painter.drawText(QRect(point.x() - 2, point.y() - 2, 7, 7),
                         Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("*"));

    painter.setPen(QPen(kDayLine, 1));
    for (const GraphDayLine& line : plot.dayLines)
        painter.drawLine(line.from, line.y, line.to, line.y);

    const int lineHeight = painter.fontMetrics().height();
    const int cw = plot.columnWidth;
    for (const GraphLabel& label : plot.labels) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(label.centre - cw - cw / 2, h - lineHeight, 3 * cw, lineHeight),
                         Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip, label.text);
        painter.setPen(guide);
        painter.drawLine(label.centre, 0, label.centre, h);
    }
}

void LogGraphWnd::mouseMoveEvent(QMouseEvent* event) {
    m_cursor = event->position().toPoint();
    if (!m_tracking) {
        m_tracking = true;
        m_lastCursor = m_cursor;
        m_timer.start();
    }
    QFrame::mouseMoveEvent(event);
}

void LogGraphWnd::leaveEvent(QEvent* event) {
    stopTracking();
    if (m_balloon)
        m_balloon->hide();
    QFrame::leaveEvent(event);
}

void LogGraphWnd::hideEvent(QHideEvent* event) {
    stopTracking();
    QFrame::hideEvent(event);
}

void LogGraphWnd::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Refresh"), this, [this] { runCommand(GraphCommand::Refresh); });
    menu.addAction(QStringLiteral("Hover"), this, [this] { runCommand(GraphCommand::HoverTick); });
    menu.exec(event->globalPos());
}

void LogGraphWnd::stopTracking() {
    m_timer.stop();
    m_tracking = false;
}

void LogGraphWnd::hoverTick() {
    // A dialog opened from the keyboard while the mouse moved over the strip sends no leave:
    // the hover ends here rather than change the list's selection behind the dialog.
    QWidget* modal = QApplication::activeModalWidget();
    if (!isVisible() || (modal && modal != window())) {
        stopTracking();
        if (m_balloon)
            m_balloon->hide();
        return;
    }
    if (!m_balloon) {
        m_balloon = new TipView(m_list.font(), this);
        connect(m_balloon, &TipView::clicked, this,
                [this] { runCommand(GraphCommand::BalloonClicked); });
    }
    const bool rests = m_cursor == m_lastCursor;
    m_lastCursor = m_cursor;
    if (!rests) {
        m_balloon->hide();
        return;
    }
    stopTracking();
    restOn(m_cursor.x() - contentsRect().x());
}

void LogGraphWnd::restOn(int x) {
    const int n = m_list.rowsPerPage();
    const int top = m_list.visibleRows().first;
    const int count = m_list.logRowCount();
    m_hovered = top < 0 ? -1
                        : GraphScale::hoveredOffset(
                              x, GraphScale::columnWidth(contentsRect().width(), n), n, top, count);
    QString text = BalloonText::kNoRow;
    if (m_hovered >= 0) {
        const int row = top + m_hovered;
        // The list's selection follows the graph, as if the row had been clicked.
        m_list.selectionModel()->setCurrentIndex(m_list.model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        text = balloonTextFor(row);
    }
    if (m_balloonSwitch)
        m_balloon->showAt(text, m_cursor);
}

QString LogGraphWnd::balloonTextFor(int row) {
    const LogRow& key = m_list.logRowAt(row);
    Database& db = m_context.database();
    if (key.tag == 'D') {
        if (auto day = SampleDateTable::getByPk(db, key.pk))
            return BalloonText::forDay(*day);
    } else if (auto entry = SampleTable::getByPk(db, key.pk)) {
        return BalloonText::forEntry(*entry, m_context.preference().getMilitaryTimeBol(),
                                     m_context.medicationLookup());
    }
    return BalloonText::kNoRow;
}

void LogGraphWnd::balloonClicked() {
    if (m_balloon)
        m_balloon->hide();
    m_list.horizontalHeader()->setFocus();
    emit editRequested();
}
