#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

// The balloon the logbook graph shows over itself: a few lines about the row under the
// cursor and the prompt "(Click to Edit)". It lives inside the graph, never takes the focus
// and is hidden until shown at a point.
class TipView : public QWidget {
    Q_OBJECT
public:
    TipView(const QFont& font, QWidget* graph);

    // Shows the text centred on the point (the graph's coordinates), kept inside the
    // graph's client area 2 pixels from its edges. While shown, only the text changes.
    void showAt(const QString& text, const QPoint& point);
    const QString& text() const { return m_text; }

    static QString prompt() { return QStringLiteral("(Click to Edit)"); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_text;
};
