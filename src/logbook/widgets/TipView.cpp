#include "logbook/widgets/TipView.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

const QColor kBackground(255, 255, 215);
const QColor kPrompt(0, 0, 255);

} // namespace

TipView::TipView(const QFont& font, QWidget* graph) : QWidget(graph) {
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
    // Moves over the balloon are its own: they must not restart the graph's hover, or the
    // balloon would vanish on its way to being clicked.
    setMouseTracking(true);
    setGeometry(0, 0, 2, 2);
    hide();
}

void TipView::showAt(const QString& text, const QPoint& point) {
    m_text = text;
    if (isVisible()) {
        update();
        return;
    }
    const QFontMetrics metrics(font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    // The prompt has a line of its own under the text and must fit as well.
    int width = metrics.horizontalAdvance(prompt());
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int height = static_cast<int>(lines.size() + 1) * metrics.height();
    QRect area = parentWidget() ? parentWidget()->contentsRect() : QRect(0, 0, width, height);
    QRect box(point.x() - width / 2, point.y() - height / 2, width, height);
    if (box.x() + box.width() > area.x() + area.width())
        box.moveLeft(area.x() + area.width() - 2 - box.width());
    if (box.x() < area.x())
        box.moveLeft(area.x() + 2);
    if (box.y() + box.height() > area.y() + area.height())
        box.moveTop(area.y() + area.height() - 2 - box.height());
    if (box.y() < area.y())
        box.moveTop(area.y() + 2);
    setGeometry(box);
    show();
    raise();
}

void TipView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner(0, 0, width() - 1, height() - 1);
    painter.fillRect(inner, kBackground);
    painter.setPen(Qt::black);
    painter.drawRect(inner);
    const QFontMetrics metrics(font());
    painter.setPen(Qt::black);
    int y = 0;
    for (const QString& line : m_text.split(QLatin1Char('\n'))) {
        painter.drawText(QRect(0, y, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                         line);
        y += metrics.height();
    }
    painter.setPen(kPrompt);
    painter.drawText(rect(), Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, prompt());
}

void TipView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void TipView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
    event->accept();
}
