#pragma once

#include "logbook/LogCells.h"

#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <array>
#include <optional>

class LogbookContext;
class QFontMetrics;

// Paints the cells of the logbook list. Each paint reads the row's record by PK through
// the context, so the list always shows what the database holds. While the list paints
// itself (a paint pass) the last row read is reused for that row's other cells; the pass
// ends with the paint event and nothing read survives it.
class SampleListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit SampleListDelegate(LogbookContext& context, QObject* parent = nullptr);

    void setFilter(int filter) { m_filter = filter; }
    int filter() const { return m_filter; }
    void setCompact(bool compact) { m_compact = compact; }
    bool compact() const { return m_compact; }

    void beginPaintPass() const;
    void endPaintPass() const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Shortens a text to the width, ending it at a word end with "..." when one fits,
    // otherwise wherever it fits.
    static QString elideAtWordEnd(const QString& text, const QFontMetrics& metrics, int width);

private:
    LogRowCells cellsFor(const QModelIndex& index) const;
    // The row's picture; on a selected row veiled by the selection colour and rimmed in `rim`.
    QPixmap iconFor(LogIcon icon, bool selected, const QColor& highlight, const QColor& rim) const;
    void paintGlucose(QPainter* painter, const QRect& cell, const LogRowCells& cells,
                      const QFont& font, const QColor& textColor) const;

    LogbookContext& m_context;
    int m_filter = LogFilter::AllTypes;
    bool m_compact = false;

    // Drawing objects, made once: each picture when it is first drawn, so that a start
    // whose first screen shows none decodes none.
    mutable std::array<std::optional<QPixmap>, 9> m_icons;
    mutable std::array<QPixmap, 9> m_blendedIcons;
    mutable QColor m_blendColor;
    mutable QColor m_rimColor;

    // The paint pass: the row most recently read, valid only until the pass ends.
    mutable bool m_inPass = false;
    mutable int m_passRow = -1;
    mutable LogRow m_passKey{0, 0};
    mutable LogRowCells m_passCells;
};
